; Windlock-Setup-<version>.exe: the bar's DLL, WindlockHost.exe and the data beside them, of the
; kind that matches the machine, registered as an Explorer Bar. /S installs and uninstalls
; silently. Given by CMake (installer/CMakeLists.txt): VERSION, OUTFILE, X64_DIR and X86_DIR (the
; folders holding each kind's DLL and host; the x64 one also holds the data), and FILES_NSH, which
; lists the data files.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include LogicLib.nsh
!include x64.nsh
!include "${FILES_NSH}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Windlock"
!define SHORTCUT "$SMPROGRAMS\Windlock Host.lnk"

Name "Windlock"
OutFile "${OUTFILE}"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The installer is a 32-bit program: on 64-bit Windows it writes the 64-bit registry and
; runs the 64-bit regsvr32 (System32 as WOW64 redirects it is the 32-bit one).
Var Regsvr32

!macro ChooseView
  ${If} ${RunningX64}
    SetRegView 64
    StrCpy $Regsvr32 "$WINDIR\Sysnative\regsvr32.exe"
  ${Else}
    StrCpy $Regsvr32 "$SYSDIR\regsvr32.exe"
  ${EndIf}
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro ChooseView
  ; /D= on the command line comes first.
  ${If} $INSTDIR == ""
    ${If} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\Windlock"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES32\Windlock"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro ChooseView
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "${X64_DIR}/LKIEWindlock.dll"
    File "${X64_DIR}/WindlockHost.exe"
  ${Else}
    File "${X86_DIR}/LKIEWindlock.dll"
    File "${X86_DIR}/WindlockHost.exe"
  ${EndIf}
  !insertmacro WindlockInstallData
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SetOutPath "$INSTDIR"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\WindlockHost.exe" "/bar"

  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "Windlock"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "Larkspan"
  WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\WindlockHost.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1

  ExecWait '"$Regsvr32" /s /i "$INSTDIR\LKIEWindlock.dll"' $0
  ${If} $0 != 0
    SetErrorLevel 3
    DetailPrint "Registering the bar failed: regsvr32 returned $0"
    Abort "Registering the bar failed"
  ${EndIf}
SectionEnd

Section Uninstall
  ; The user's settings under HKCU stay: DllInstall's uninstall leaves them.
  ExecWait '"$Regsvr32" /s /u /i "$INSTDIR\LKIEWindlock.dll"'
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\LKIEWindlock.dll"
  Delete "$INSTDIR\WindlockHost.exe"
  !insertmacro WindlockRemoveData
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: whatever else is in the folder is not ours.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
