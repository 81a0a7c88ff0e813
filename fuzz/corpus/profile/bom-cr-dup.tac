[S]k = "v"[s]
k=2
;c
