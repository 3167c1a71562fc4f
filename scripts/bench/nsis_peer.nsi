; The NSIS peer of the single-file setup: the mixed medium's files, solid LZMA as NSIS's
; makers ship, installed silently into a folder. bench.sh gives OUTFILE and DATA.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
Name "Quendral"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Morvessa\QuendralNsis"
RequestExecutionLevel admin
SilentInstall silent
Section
  SetOutPath "$INSTDIR"
  File /r "${DATA}/*"
SectionEnd
