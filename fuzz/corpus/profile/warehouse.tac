[General]
Title=Warehouse scanner
Beep=1
Language=de-DE

[Columns]
Order=ShowDate,ShowTime
ShowDate=1
ShowTime=1
ShowSender=0
FontSize=12

[Replace]
r0=Lager,Warehouse
r1=Eingang,Goods in
r2=
r3=Obsolete,kept after the end key
r4=Also obsolete,still kept

[Scanner]
Model=HX-200
Baud=9600
