; The Windows setup of Tallix, in Chinese: Ordwen.exe, tallix.exe, readme.txt and the font
; deposits are set in, with its licence, in one folder under Program Files, a Start-menu
; shortcut to the window, and an uninstaller that Windows lists under the Uninstall key.
; Both install and uninstall run silently with /S.
;
; scripts/make-setup builds it once per cross build:
;   makensis -INPUTCHARSET UTF8 -DTALLIX_CONFIG=<build>/packaging/setup-config.nsh \
;            -DTALLIX_FILES=<build>/packaging/setup-files.nsh \
;            -DTALLIX_STAGE=<staged bin folder> -DTALLIX_OUT_DIR=<folder> windows-setup.nsi
; The configuration, written by CMake, gives the version and the bitness; the file list,
; written by make-setup, names every file staged.

Unicode true
!include "${TALLIX_CONFIG}"
!include "${TALLIX_FILES}"

; A build without the window still makes a working setup of the command line; the shortcut,
; the icon shown in the list of programs and the finish page's "run" box need the window.
!if /FileExists "${TALLIX_STAGE}/Ordwen.exe"
  !define TALLIX_HAS_WINDOW
!endif

; A 64-bit Windows without its 32-bit layer (64-bit Wine among them) runs only a 64-bit
; setup, and makensis's default stub is 32-bit. The 64-bit setup also writes the 64-bit view
; of the registry, where Windows looks for a 64-bit program's uninstaller.
!if ${TALLIX_SETUP_BITS} == 64
  Target amd64-unicode
  !define TALLIX_PROGRAM_FILES "$PROGRAMFILES64"
  !define TALLIX_REG_VIEW 64
!else
  Target x86-unicode
  !define TALLIX_PROGRAM_FILES "$PROGRAMFILES"
  !define TALLIX_REG_VIEW 32
!endif

!define TALLIX_DISPLAY_NAME "Tallix 代码行数统计"
!define TALLIX_SHORTCUT "$SMPROGRAMS\${TALLIX_DISPLAY_NAME}.lnk"
!define TALLIX_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallix"
!define TALLIX_UNINSTALLER "uninstall.exe"

!include "MUI2.nsh"
!include "FileFunc.nsh"

Name "Tallix ${TALLIX_VERSION_TEXT}"
OutFile "${TALLIX_OUT_DIR}/${TALLIX_SETUP_FILE}"
InstallDir "${TALLIX_PROGRAM_FILES}\Tallix"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ManifestDPIAware true

!define MUI_ICON "${TALLIX_ICON}"
!define MUI_UNICON "${TALLIX_ICON}"
!define MUI_ABORTWARNING
!ifdef TALLIX_HAS_WINDOW
  !define MUI_FINISHPAGE_RUN "$INSTDIR\Ordwen.exe"
!endif

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${TALLIX_VERSION_NUMBERS}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "Tallix"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${TALLIX_VERSION_TEXT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${TALLIX_VERSION_TEXT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "Tallix ${TALLIX_VERSION_TEXT} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${TALLIX_PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "Copyright (C) ${TALLIX_PUBLISHER}"

; The shortcut and the uninstaller are for every user of the machine, as the folder is.
!macro TALLIX_SET_CONTEXT
  SetShellVarContext all
  SetRegView ${TALLIX_REG_VIEW}
!macroend

Function .onInit
  !insertmacro TALLIX_SET_CONTEXT
FunctionEnd

Function un.onInit
  !insertmacro TALLIX_SET_CONTEXT
FunctionEnd

Section "Tallix"
  SetOutPath "$INSTDIR"
  !insertmacro TALLIX_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${TALLIX_UNINSTALLER}"
!ifdef TALLIX_HAS_WINDOW
  CreateShortcut "${TALLIX_SHORTCUT}" "$INSTDIR\Ordwen.exe"
  WriteRegStr HKLM "${TALLIX_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ordwen.exe"
!else
  WriteRegStr HKLM "${TALLIX_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${TALLIX_UNINSTALLER}"
!endif

  WriteRegStr HKLM "${TALLIX_UNINSTALL_KEY}" "DisplayName" "${TALLIX_DISPLAY_NAME}"
  WriteRegStr HKLM "${TALLIX_UNINSTALL_KEY}" "DisplayVersion" "${TALLIX_VERSION_TEXT}"
  WriteRegStr HKLM "${TALLIX_UNINSTALL_KEY}" "Publisher" "${TALLIX_PUBLISHER}"
  WriteRegStr HKLM "${TALLIX_UNINSTALL_KEY}" "URLInfoAbout" "${TALLIX_HOME_PAGE}"
  WriteRegStr HKLM "${TALLIX_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${TALLIX_UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\${TALLIX_UNINSTALLER}"'
  WriteRegStr HKLM "${TALLIX_UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\${TALLIX_UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${TALLIX_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${TALLIX_UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${TALLIX_UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes only what the setup put there, so a folder the user chose that holds other files
; keeps them. The user's settings (under HKCU) stay for a later install.
Section "Uninstall"
  !insertmacro TALLIX_DELETE_FILES
  Delete "$INSTDIR\${TALLIX_UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "${TALLIX_SHORTCUT}"
  DeleteRegKey HKLM "${TALLIX_UNINSTALL_KEY}"
SectionEnd
