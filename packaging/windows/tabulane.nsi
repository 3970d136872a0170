; Tabulane's Windows installer: for the current user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Tabulane by default. The program folder must be one its user can write to, since
; "Save results in folder of original file" writes beside the samples that live there.
; Made by the build (target tabulane_windows_package), which passes VERSION, VERSION4 (four numbers),
; FILE_LIST (the generated list of the program folder's files), PROGRAM_ICON and OUTFILE.
; Silent use: setup.exe /S [/D=folder], uninstall.exe /S.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include "${FILE_LIST}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tabulane"

Name "Tabulane" "Tabulane"
Caption "Tabulane ${VERSION} Setup"
UninstallCaption "Tabulane ${VERSION} Uninstall"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tabulane"
; An update goes where the installed version is, unless /D or the folder page says otherwise.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tabulane ${VERSION}"
ShowInstDetails hide
ShowUninstDetails hide

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "Tabulane"
VIAddVersionKey /LANG=0 "CompanyName" "Quillfen"
VIAddVersionKey /LANG=0 "FileDescription" "Tabulane ${VERSION} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Quillfen"

!define MUI_ABORTWARNING
!define MUI_ICON "${PROGRAM_ICON}"
!define MUI_UNICON "${PROGRAM_ICON}"
!define MUI_WELCOMEPAGE_TEXT "This will install Tabulane ${VERSION} for you alone, in a folder of your own: no administrator rights are needed.$\r$\n$\r$\nTabulane converts batches of plain-text files into comma-separated files.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "Tabulane keeps its samples in its folder and can write results beside them, so choose a folder you can write to (not one under Program Files)."
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryPageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tabulane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tabulane"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Sets the error flag when no file can be made in $0 (a folder that exists).
!macro TRY_WRITING_IN
    ClearErrors
    FileOpen $1 "$0\~tabulane-write-probe.tmp" w
    ${IfNot} ${Errors}
        FileClose $1
        Delete "$0\~tabulane-write-probe.tmp"
    ${EndIf}
!macroend

; Sets $0 to "" when $INSTDIR can be written, or made and written, and to the nearest existing folder otherwise.
; Nothing is made on the way: the folder itself is made only by the install.
Function FindUnwritableFolder
    StrCpy $0 $INSTDIR
    ${DoUntil} ${FileExists} "$0\*.*"
        ${GetParent} $0 $1
        ${If} $1 == ""
        ${OrIf} $1 == $0
            Return
        ${EndIf}
        StrCpy $0 $1
    ${Loop}
    !insertmacro TRY_WRITING_IN
    ${IfNot} ${Errors}
        StrCpy $0 ""
    ${EndIf}
FunctionEnd

Function DirectoryPageLeave
    Call FindUnwritableFolder
    ${If} $0 != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "You cannot write to $0.$\r$\n$\r$\nPlease choose another folder, for example one in your own user folder."
        Abort
    ${EndIf}
FunctionEnd

; A running tabulane.exe in $INSTDIR cannot be replaced or removed: ask the user to close it, or give up.
!macro DEFINE_WAIT_UNTIL_CLOSED prefix
Function ${prefix}WaitUntilClosed
    ${DoWhile} ${FileExists} "$INSTDIR\tabulane.exe"
        ClearErrors
        FileOpen $0 "$INSTDIR\tabulane.exe" a
        ${IfNot} ${Errors}
            FileClose $0
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Tabulane is running from $INSTDIR. Close it, then click Retry." /SD IDCANCEL IDRETRY retry
        Abort "Tabulane is running from $INSTDIR."
        retry:
    ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_UNTIL_CLOSED ""
!insertmacro DEFINE_WAIT_UNTIL_CLOSED "un."

; The installed version's own uninstaller knows which files were its own; it removes them, its shortcuts and its
; entry, and leaves the user's files and settings. Run in place (_?=) so that it is waited for.
Function RemovePreviousVersion
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $2 == ""
    ${OrIfNot} ${FileExists} "$2\uninstall.exe"
        Return
    ${EndIf}
    DetailPrint "Removing the installed version from $2"
    ClearErrors
    ExecWait '"$2\uninstall.exe" /S _?=$2' $3
    ${If} ${Errors}
    ${OrIf} $3 != 0
        MessageBox MB_OK|MB_ICONSTOP "The installed Tabulane in $2 could not be removed, so this version was not installed." /SD IDOK
        Abort "The installed Tabulane in $2 could not be removed."
    ${EndIf}
    Delete "$2\uninstall.exe"
    RMDir "$2"
FunctionEnd

Section "Tabulane" SectionProgram
    SectionIn RO
    SetShellVarContext current
    ${If} ${Silent}
        Call FindUnwritableFolder
        ${If} $0 != ""
            Abort "You cannot write to $0."
        ${EndIf}
    ${EndIf}
    Call WaitUntilClosed
    Call RemovePreviousVersion

    !insertmacro TABULANE_INSTALL_FILES
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetOutPath "$INSTDIR"
    CreateShortcut "$SMPROGRAMS\Tabulane.lnk" "$INSTDIR\tabulane.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tabulane"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quillfen"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tabulane.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    ${GetSize} "$INSTDIR" "/M=uninstall.exe /S=0K /G=0" $0 $1 $2
    IntOp $0 $0 + ${TABULANE_FILES_KB}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Desktop shortcut" SectionDesktop
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    CreateShortcut "$DESKTOP\Tabulane.lnk" "$INSTDIR\tabulane.exe"
    ; So the uninstaller removes a desktop shortcut only when it was ours.
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "DesktopShortcut" 1
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} "Tabulane, its samples, its skin and a Start-menu shortcut."
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionDesktop} "A shortcut to Tabulane on your desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    SetShellVarContext current
    ; An update keeps the desktop shortcut an earlier install made.
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
    ${If} $0 = 1
        !insertmacro SelectSection ${SectionDesktop}
    ${EndIf}
FunctionEnd

Section "Uninstall"
    SetShellVarContext current
    Call un.WaitUntilClosed
    !insertmacro TABULANE_UNINSTALL_FILES
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Tabulane.lnk"
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
    ${If} $0 = 1
        Delete "$DESKTOP\Tabulane.lnk"
    ${EndIf}
    ; The settings under HKCU\Software\Quillfen stay, as they do for any Windows program.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
