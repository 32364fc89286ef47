; The smallest installer that runs glyphroots.exe as the README tells
; installer authors to, for the end-to-end tests:
;   makensis -DGLYPHROOTS=path/to/glyphroots.exe -DOUTFILE=ostrel-nsis-check.exe glyphroots-setup.nsi
; It installs the program, runs it, and writes last the exit status it
; gave into exit-status.txt, for a silent run to be waited for.
Unicode true
Target amd64-unicode
Name "Ostrel glyphroots check"
OutFile "${OUTFILE}"
; Where a root directory given with /D= sends it instead: root installs
; stay off, the default.
InstallDir "$TEMP\ostrel-setup-default"
RequestExecutionLevel user

Section
  SetOutPath "$INSTDIR"
  File "/oname=glyphroots.exe" "${GLYPHROOTS}"
  ExecWait '"$INSTDIR\glyphroots.exe" "$INSTDIR"' $0
  FileOpen $1 "$INSTDIR\exit-status.txt" w
  FileWrite $1 "$0"
  FileClose $1
SectionEnd
