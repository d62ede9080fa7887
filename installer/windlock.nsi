; Windlock-Setup-<version>-<kind>.exe: the bar's DLL, WindlockHost.exe and the data beside them,
; registered as an Explorer Bar. The x64 installer is a 64-bit program for 64-bit Windows and
; installs both kinds, since the browser loads bars into 32-bit tab processes by default: the x64
; DLL and host into Program Files\Windlock, the x86 DLL into Program Files (x86)\Windlock. The x86
; installer is for 32-bit Windows. /S installs and uninstalls silently.
; Given by CMake (installer/CMakeLists.txt): VERSION, OUTFILE, KIND (x64 or x86), X64_DIR and
; X86_DIR (the folders holding each kind's DLL and host; the x64 one also holds the data), and
; FILES_NSH, which lists the data files.
!if ${KIND} == x64
  Target amd64-unicode
!else
  Unicode true
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include LogicLib.nsh
!include x64.nsh
!include "${FILES_NSH}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Windlock"
!define SHORTCUT "$SMPROGRAMS\Windlock Host.lnk"
; The x86 DLL of a 64-bit installation, registered through the 32-bit regsvr32.
!define X86_FOLDER "$X86Folder"
!define REGSVR32_X86 "$WINDIR\SysWOW64\regsvr32.exe"
; What Windows installers return when a restart finishes their work.
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010

Name "Windlock"
OutFile "${OUTFILE}"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Runs regsvr32 on a DLL; a registration that fails ends the installation.
!macro Regsvr32 REGSVR32 SWITCHES DLL
  ExecWait '"${REGSVR32}" ${SWITCHES} "${DLL}"' $0
  ${If} $0 != 0
    SetErrorLevel 3
    DetailPrint "Registering the bar failed: regsvr32 ${SWITCHES} returned $0 for ${DLL}"
    Abort "Registering the bar failed"
  ${EndIf}
!macroend

; A file or folder still in use goes when Windows restarts; the uninstaller says so at the end.
!macro RemoveFolder FOLDER
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "${FOLDER}"
  ${Else}
    ; Only when empty: whatever else is in the folder is not ours.
    RMDir "${FOLDER}"
  ${EndIf}
!macroend

!if ${KIND} == x64
; Program Files (x86): to a 64-bit installer, $PROGRAMFILES32 is the 64-bit folder too.
Var X86Folder
!macro FindX86Folder
  ReadRegStr $X86Folder HKLM "Software\Microsoft\Windows\CurrentVersion" "ProgramFilesDir (x86)"
  StrCpy $X86Folder "$X86Folder\Windlock"
!macroend
!else
!macro FindX86Folder
!macroend
!endif

Function .onInit
  SetShellVarContext all
  !insertmacro FindX86Folder
!if ${KIND} == x86
  ${If} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "This installer is for 32-bit Windows. On 64-bit Windows, run \
        Windlock-Setup-${VERSION}-x64.exe, which installs the bar for both kinds of browser." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
!endif
  ; /D= on the command line comes first.
  ${If} $INSTDIR == ""
!if ${KIND} == x64
    StrCpy $INSTDIR "$PROGRAMFILES64\Windlock"
!else
    StrCpy $INSTDIR "$PROGRAMFILES\Windlock"
!endif
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
  !insertmacro FindX86Folder
FunctionEnd

Section
  SetOutPath "$INSTDIR"
!if ${KIND} == x64
  File "${X64_DIR}/LKIEWindlock.dll"
  File "${X64_DIR}/WindlockHost.exe"
!else
  File "${X86_DIR}/LKIEWindlock.dll"
  File "${X86_DIR}/WindlockHost.exe"
!endif
  !insertmacro WindlockInstallData "$INSTDIR"
!if ${KIND} == x64
  SetOutPath "${X86_FOLDER}"
  File "${X86_DIR}/LKIEWindlock.dll"
  !insertmacro WindlockInstallData "${X86_FOLDER}"
!endif
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

  ; $SYSDIR is the installer's own kind's: the 64-bit one for the x64 installer.
  !insertmacro Regsvr32 "$SYSDIR\regsvr32.exe" "/s /i" "$INSTDIR\LKIEWindlock.dll"
!if ${KIND} == x64
  ; A 64-bit Windows without its 32-bit subsystem has no 32-bit browser to load the bar either.
  ClearErrors
  ExecWait '"${REGSVR32_X86}" /s /i "${X86_FOLDER}\LKIEWindlock.dll"' $0
  ${If} ${Errors}
    DetailPrint "This Windows runs no 32-bit programs: the x86 bar was not registered"
  ${ElseIf} $0 != 0
    SetErrorLevel 3
    DetailPrint "Registering the bar failed: the 32-bit regsvr32 /s /i returned $0"
    Abort "Registering the bar failed"
  ${EndIf}
!endif
SectionEnd

Section Uninstall
  ; Every user's settings under HKCU stay: DllInstall's uninstall leaves them.
!if ${KIND} == x64
  ExecWait '"${REGSVR32_X86}" /s /u /i "${X86_FOLDER}\LKIEWindlock.dll"'
!endif
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u /i "$INSTDIR\LKIEWindlock.dll"'
  Delete "${SHORTCUT}"
  Delete /REBOOTOK "$INSTDIR\LKIEWindlock.dll"
  Delete /REBOOTOK "$INSTDIR\WindlockHost.exe"
  !insertmacro WindlockRemoveData "$INSTDIR"
  ; Not /REBOOTOK: run in place (_?=) it cannot go, and a copy of itself runs it otherwise.
  Delete "$INSTDIR\Uninstall.exe"
  !insertmacro RemoveFolder "$INSTDIR"
!if ${KIND} == x64
  Delete /REBOOTOK "${X86_FOLDER}\LKIEWindlock.dll"
  !insertmacro WindlockRemoveData "${X86_FOLDER}"
  !insertmacro RemoveFolder "${X86_FOLDER}"
!endif
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} ${RebootFlag}
    DetailPrint "Files still in use are removed when Windows restarts"
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
    MessageBox MB_YESNO|MB_ICONQUESTION "Some of Windlock's files are still in use and are removed \
        when Windows restarts. Restart now?" /SD IDNO IDNO done
    Reboot
    done:
  ${EndIf}
SectionEnd
