; The installer of the server, in Russian: Morvane.exe (and Morvane.CHM when the help is built)
; into Program Files\Morvane, a Start-menu shortcut and the uninstaller, registered under
; Windows' Uninstall key. Optionally the stand-in communication component, for trying the server
; with the terminal simulator (off by default; /STANDIN selects it in silent mode).
; Built by the build (installer/CMakeLists.txt), which passes:
;   /DVERSION=1.0.0.1 /DEXE=<Morvane.exe> /DCHM=<Morvane.CHM, packed when it exists>
;   /DSTANDIN=<CipherLab9x00.dll> /DICON=<Morvane.ico> /DOUTFILE=<setup.exe>
; Silent use:  setup.exe /S [/STANDIN] [/D=C:\folder]     Uninstall.exe /S
Unicode true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define PRODUCT "Сервер обновления терминалов"
!define PUBLISHER "Morvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "HKEY_CURRENT_USER\Morvane\Options\Software"
!define PROGID "AddIn.CipherLab9x00"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Morvane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1049 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка: ${PRODUCT}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_WELCOMEPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Morvane.exe"
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Программа будет удалена из этой папки. Настройки \
  (${SETTINGS_KEY}) и папка журналов (Log) сохранятся."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
Var ComponentMissing
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

; Files in use cannot be replaced or removed: a running server must be closed first. Silent
; runs cannot ask, so they fail with exit code 2.
!macro ServerMustNotRun un
Function ${un}ServerMustNotRun
  retry:
  FindWindow $0 "#32770" "${PRODUCT}"
  ${If} $0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} запущен. Закройте его (кнопка «Выход») и нажмите «Повтор»." \
      /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro ServerMustNotRun ""
!insertmacro ServerMustNotRun "un."

Section "${PRODUCT}" SecServer
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=Morvane.exe" "${EXE}"
  !if /FileExists "${CHM}"
    File "/oname=Morvane.CHM" "${CHM}"
  !endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Morvane.exe" "" "$INSTDIR\Morvane.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Morvane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Wine ignores per-user classes, and the server may run under any user: machine-wide.
Section /o "Компонента-заменитель (для проверки)" SecStandIn
  SetOutPath "$INSTDIR"
  File "/oname=CipherLab9x00.dll" "${STANDIN}"
  ExecWait '"$SYSDIR\regsvr32.exe" /s /n /i:machine "$INSTDIR\CipherLab9x00.dll"' $0
  ${If} $0 <> 0
    DetailPrint "Не удалось зарегистрировать компоненту-заменитель (код $0)."
  ${EndIf}
SectionEnd

Section "-Size and component check"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  ClearErrors
  ReadRegStr $0 HKCR "${PROGID}\CLSID" ""
  ${If} $0 == ""
    StrCpy $ComponentMissing 1
    DetailPrint "Компонента связи с терминалами ${PROGID} не установлена."
    MessageBox MB_OK|MB_ICONEXCLAMATION \
      "Компонента связи с терминалами (${PROGID}) не установлена.$\r$\n$\r$\nУстановите её, \
      прежде чем запускать сервер: без неё сервер не запустится." /SD IDOK
  ${EndIf}
SectionEnd

; After the sections, whose indexes it uses.
Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/STANDIN" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStandIn}
  ${EndIf}
  Call ServerMustNotRun
FunctionEnd

; Without the component the server cannot start: no offer to run it.
Function FinishPageShow
  ${If} $ComponentMissing == 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function un.onInit
  Call un.ServerMustNotRun
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ${If} ${FileExists} "$INSTDIR\CipherLab9x00.dll"
    ExecWait '"$SYSDIR\regsvr32.exe" /s /u /n /i:machine "$INSTDIR\CipherLab9x00.dll"'
    Delete "$INSTDIR\CipherLab9x00.dll"
  ${EndIf}
  Delete "$INSTDIR\Morvane.exe"
  Delete "$INSTDIR\Morvane.CHM"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ; Not /r: the folder stays while the user's log folder (or anything else of theirs) is in it.
  RMDir "$INSTDIR"
  DeleteRegValue HKLM "${RUN_KEY}" "Morvane"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DetailPrint "Настройки (${SETTINGS_KEY}) и папка журналов сохранены."
SectionEnd
