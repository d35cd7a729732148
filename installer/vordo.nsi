; vordo-setup.exe: puts the 32-bit panel and its dictionary in place,
; registers the panel, and takes both away again.
;
; An administrator installs for all users into the 32-bit Program Files; a
; user without administrator rights installs for himself into
; %LOCALAPPDATA%\Programs (the module registers itself under HKCU when it
; cannot write HKLM). The uninstall entry lies in the same hive.
;
; makensis -DDLL=vordo.dll -DDICTIONARY=dic.bin -DCZECH_INDEX=dic-cs.bin
;          -DVERSION=1.0 -DOUTFILE=vordo-setup.exe vordo.nsi
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel highest

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vordo"

Name "Vordo"
Caption "Vordo – anglicko-český slovník"
OutFile "${OUTFILE}"
BrandingText "Vordo ${VERSION}"
ShowInstDetails show
ShowUninstDetails show
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Czech.nlf"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!include "LogicLib.nsh"

; All users when the installer runs as an administrator, else this user.
Function .onInit
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    SetShellVarContext all
    StrCpy $INSTDIR "$PROGRAMFILES\Vordo"
  ${Else}
    SetShellVarContext current
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Vordo"
  ${EndIf}
FunctionEnd

Section "Vordo"
  SetOutPath "$INSTDIR"
  ; A panel that a running browser holds is replaced at the next restart.
  SetOverwrite on
  File /oname=vordo.dll "${DLL}"
  File /oname=dic.bin "${DICTIONARY}"
  File /oname=dic-cs.bin "${CZECH_INDEX}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ClearErrors
  RegDLL "$INSTDIR\vordo.dll"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Panel Vordo se nepodařilo zaregistrovat." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}

  ; One entry in "Aplikace a funkce", also after a second installation.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Vordo – anglicko-český slovník"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Vordo"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vordo.dll"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The hive of the installation this uninstaller belongs to.
Function un.onInit
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  UnRegDLL "$INSTDIR\vordo.dll"
  ; A browser may still hold the panel and its dictionary: they go at the
  ; next restart.
  Delete /REBOOTOK "$INSTDIR\vordo.dll"
  Delete /REBOOTOK "$INSTDIR\dic.bin"
  Delete /REBOOTOK "$INSTDIR\dic-cs.bin"
  Delete "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${If} ${RebootFlag}
    MessageBox MB_OK|MB_ICONINFORMATION "Prohlížeč ještě používá panel Vordo. Jeho soubory budou odstraněny po restartu počítače." /SD IDOK
  ${EndIf}
SectionEnd
