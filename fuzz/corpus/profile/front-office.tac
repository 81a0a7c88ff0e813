; Capture station configuration, front office
; Edited by hand and with TAV Configuration Manager.

[TACInfo]
Version=1.0
Updated=03/11/2026 (09:15:42)
Author=Front office

[General]
Title=Front office capture
StartMinimised=0
Beep=1
Language=en-GB
; keep in sync with the station name on the network
Station=FRONT-01

[Columns]
Order=ShowSubject,ShowDate,ShowSender,ShowTime,ShowSize
ShowDate=1
ShowTime=0
ShowSender=1
ShowSubject=1
ShowSize=0
FontName=DejaVu Sans
FontSize=10

[Capture]
SourceFolder=/srv/capture/inbox
PollInterval=30
DeleteAfter=0

[Printing]
Printer=Office laser
Landscape=1
Copies=2
Header="  Front office  "

[Export]
Order=ExportBody,ExportDate,ExportSender,ExportAttachments
ExportDate=1
TargetFolder=/srv/capture/export
ExportSender=1
ExportBody=1
Separator=;
ExportAttachments=0

[Replace]
r0=Dept\044 Sales,Sales department
r1=FO,Front office
r2=Tel.,Telephone, direct line
r3=

[Advanced]
LogFile=/var/log/capture/front.log
Debug=0
Timeout=5000

[Network]
; read by the capture service only, not by the editor
Host=capture.example.org
Port=4711
