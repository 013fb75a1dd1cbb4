; The Ombrix installer, built by the target "dist" (packaging/CMakeLists.txt), which gives makensis
; VERSION (four parts), STAGE (the folder of the files to install), FILES (the lists of them),
; ICON and OUTFILE.
;
; Installer switches: /S silent; /CURRENTUSER (the default) or /ALLUSERS (every user of the
; computer, needs administrator rights); /AUTOSTART or /NOAUTOSTART; /D=folder, last.
; Uninstaller switches: /S silent; /ALLUSERS for an installation for every user; /REMOVESETTINGS
; also removes the settings, which a silent uninstall keeps otherwise.
; Exit codes: 0 done, 1 cancelled, 2 stopped (Ombrix could not be ended), 3 /ALLUSERS into a
; folder outside Program Files in a silent run, 740 /ALLUSERS without administrator rights in a
; silent run.

; A 64-bit installer for a 64-bit program: it sees the system's own registry and folders.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
; An installation for every user asks for administrator rights when it is chosen, not before.
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ombrix"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Ombrix"
; The system's wallpaper values, and where Ombrix keeps its copies of images.
!define DESKTOP_KEY "Control Panel\Desktop"
!define WALLPAPER_STORE "$LOCALAPPDATA\Ombrix"
!define SPI_SETDESKWALLPAPER 20
!define SPIF_UPDATEINIFILE_SENDCHANGE 3
; Ombrix's hidden main window, and the request that ends it as Exit in its menu does.
!define MAIN_CLASS "ThunderRT6FormDC"
!define MAIN_CAPTION "OmbrixMainWND"
!define EXIT_REQUEST 1067
!define REPLY_DONE 1
!define REPLY_BUSY -1
!define REPLY_USER_BUSY -2
!define REPLY_PASSWORD_PROTECTED -7
!define SYNCHRONIZE 0x00100000
!define ERROR_ELEVATION_REQUIRED 740
!define EXIT_SHARED_FOLDER 3

Name "Ombrix"
OutFile "${OUTFILE}"
BrandingText "Ombrix ${VERSION}"

Var AllUsers        ; 1: for every user of the computer
Var ModeGiven       ; 1: /ALLUSERS or /CURRENTUSER was given
Var DirGiven        ; 1: /D= was given
Var AutoStartGiven  ; 1: /AUTOSTART or /NOAUTOSTART was given
Var WasRunning      ; 1: a running Ombrix was ended
Var JustMeButton
Var EveryoneButton
Var KeepEntry       ; the entry of the wallpaper store that holds the system's wallpaper

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

Page custom ModePage ModePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(StartNow)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartOmbrix
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Italian"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Ombrix"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "The Ombrix developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Ombrix ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) 2026 The Ombrix developers"

LangString ModeTitle ${LANG_ENGLISH} "Who is Ombrix for?"
LangString ModeTitle ${LANG_ITALIAN} "Per chi è Ombrix?"
LangString ModeSubtitle ${LANG_ENGLISH} "Install it for your account, or for every user of this computer."
LangString ModeSubtitle ${LANG_ITALIAN} "Installalo per il tuo account o per tutti gli utenti di questo computer."
LangString ModeJustMe ${LANG_ENGLISH} "Only for me (no administrator rights needed)"
LangString ModeJustMe ${LANG_ITALIAN} "Solo per me (non servono i diritti di amministratore)"
LangString ModeEveryone ${LANG_ENGLISH} "For every user of this computer (needs administrator rights)"
LangString ModeEveryone ${LANG_ITALIAN} "Per tutti gli utenti di questo computer (servono i diritti di amministratore)"
LangString NeedsAdmin ${LANG_ENGLISH} "Installing for every user needs administrator rights, and they were not given."
LangString NeedsAdmin ${LANG_ITALIAN} "L'installazione per tutti gli utenti richiede i diritti di amministratore, che non sono stati concessi."
LangString OutsideProgramFiles ${LANG_ENGLISH} "An installation for every user goes into Program Files, which only administrators can change: in another folder any user could replace the program that every user runs. Choose a folder in Program Files, or install only for you."
LangString OutsideProgramFiles ${LANG_ITALIAN} "Un'installazione per tutti gli utenti va in Programmi, che solo gli amministratori possono modificare: in un'altra cartella qualsiasi utente potrebbe sostituire il programma che tutti gli utenti avviano. Scegli una cartella in Programmi, oppure installa solo per te."
LangString SecProgram ${LANG_ENGLISH} "Ombrix, with a Start-menu shortcut"
LangString SecProgram ${LANG_ITALIAN} "Ombrix, con un collegamento nel menu Start"
LangString SecAutoStart ${LANG_ENGLISH} "Start Ombrix when I log on"
LangString SecAutoStart ${LANG_ITALIAN} "Avvia Ombrix all'accesso"
LangString StartNow ${LANG_ENGLISH} "Start Ombrix now"
LangString StartNow ${LANG_ITALIAN} "Avvia Ombrix ora"
LangString Ending ${LANG_ENGLISH} "Ending the running Ombrix; the windows of every desktop come back on screen."
LangString Ending ${LANG_ITALIAN} "Chiusura di Ombrix in esecuzione; le finestre di tutti i desktop tornano sullo schermo."
LangString UserBusy ${LANG_ENGLISH} "Ombrix has one of its windows or its menu open. Close it, then choose Retry."
LangString UserBusy ${LANG_ITALIAN} "Ombrix ha aperta una sua finestra o il suo menu. Chiudila, poi scegli Riprova."
LangString NoAnswer ${LANG_ENGLISH} "Ombrix does not answer. End it with Exit in its tray menu, then choose Retry."
LangString NoAnswer ${LANG_ITALIAN} "Ombrix non risponde. Chiudilo con Esci nel suo menu, poi scegli Riprova."
LangString Protected ${LANG_ENGLISH} "Ombrix is guarded by its program password. Exit it from its tray menu, which asks for the password, then choose Retry."
LangString Protected ${LANG_ITALIAN} "Ombrix è protetto dalla sua password del programma. Chiudilo con Esci nel suo menu, che chiede la password, poi scegli Riprova."
LangString NotEnded ${LANG_ENGLISH} "Ombrix is still running, so its files cannot be replaced or removed. Nothing was changed."
LangString NotEnded ${LANG_ITALIAN} "Ombrix è ancora in esecuzione, quindi i suoi file non possono essere sostituiti o rimossi. Non è stato cambiato nulla."
LangString RemoveSettings ${LANG_ENGLISH} "Also remove your Ombrix settings (desktop names, passwords, wallpapers, rules and hot-keys)?$\n$\nChoose No to keep them for a later installation."
LangString RemoveSettings ${LANG_ITALIAN} "Rimuovere anche le impostazioni di Ombrix (nomi dei desktop, password, sfondi, regole e tasti di scelta rapida)?$\n$\nScegli No per conservarle per un'installazione futura."

; Ends a running Ombrix with its exit request, which shows the windows of every desktop first,
; and waits for its process, whose files are in use until it ends. Ombrix is never killed: that
; would leave the windows of its hidden desktops hidden. Stops the installation (exit code 2)
; when Ombrix cannot be ended.
!macro END_RUNNING_OMBRIX un
Function ${un}EndRunningOmbrix
  StrCpy $R5 0  ; half seconds waited while Ombrix was busy
  ${Do}
    FindWindow $R0 "${MAIN_CLASS}" "${MAIN_CAPTION}"
    ${If} $R0 = 0
      Return
    ${EndIf}
    ${If} $WasRunning != 1
      DetailPrint "$(Ending)"
      StrCpy $WasRunning 1
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p $R0, *i .R1) i'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i $R1) p .R2'
    SendMessage $R0 ${EXIT_REQUEST} 0 0 $R3 /TIMEOUT=10000
    ${If} $R3 = ${REPLY_DONE}
      ${If} $R2 = 0
        Sleep 2000  ; no handle on the process to wait for: give it time, then look again
        ${Continue}
      ${EndIf}
      System::Call 'kernel32::WaitForSingleObject(p $R2, i 15000) i .R4'
      System::Call 'kernel32::CloseHandle(p $R2)'
      ${If} $R4 = 0
        ${Continue}
      ${EndIf}
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p $R2)'
    ; Busy for a moment (a switch runs), or, in a silent run, with a dialog or menu open: wait
    ; up to 30 s. Otherwise the user is asked to close what is open.
    StrCpy $R6 0
    ${If} $R3 = ${REPLY_BUSY}
      StrCpy $R6 1
    ${ElseIf} $R3 = ${REPLY_USER_BUSY}
    ${AndIf} ${Silent}
      StrCpy $R6 1
    ${EndIf}
    ${If} $R6 = 1
      ${If} $R5 < 60
        IntOp $R5 $R5 + 1
        Sleep 500
        ${Continue}
      ${EndIf}
      ${Break}
    ${EndIf}
    ${If} $R3 = ${REPLY_USER_BUSY}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(UserBusy)" IDRETRY retry
      ${Break}
    ${EndIf}
    ${If} $R3 = ${REPLY_PASSWORD_PROTECTED}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(Protected)" /SD IDCANCEL IDRETRY retry
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(NoAnswer)" /SD IDCANCEL IDRETRY retry
    ${Break}
    retry:
  ${Loop}
  MessageBox MB_ICONSTOP "$(NotEnded)" /SD IDOK
  SetErrorLevel 2
  Abort
FunctionEnd
!macroend
!insertmacro END_RUNNING_OMBRIX ""
!insertmacro END_RUNNING_OMBRIX "un."

; An installation for every user needs administrator rights. Without them this program starts
; itself again (its path and switches given) with the system's request for them, and ends.
!macro ELEVATE_FOR_EVERYONE un
Function ${un}ElevateForEveryone
  Pop $R0  ; the program and switches to start elevated
  Pop $R1
  UserInfo::GetAccountType
  Pop $R2
  ${If} $R2 == "Admin"
    Return
  ${EndIf}
  ${If} ${Silent}
    SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
  ClearErrors
  ExecShell "runas" "$R0" "$R1"
  ${If} ${Errors}
    MessageBox MB_ICONEXCLAMATION "$(NeedsAdmin)"
    Abort
  ${EndIf}
  Quit
FunctionEnd
!macroend
!insertmacro ELEVATE_FOR_EVERYONE ""
!insertmacro ELEVATE_FOR_EVERYONE "un."

; An installation for every user belongs in Program Files, whose permissions let only
; administrators change it. A folder elsewhere inherits permissions that let every user change
; its files: one user could replace the program every other user runs. Sets $R0 to 1 when
; $INSTDIR lies in Program Files (".." resolved first).
Function InProgramFiles
  System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .R1, p 0) i .R2'
  ${If} $R2 = 0
    StrCpy $R1 $INSTDIR
  ${EndIf}
  StrCpy $R0 0
  StrLen $R3 "$PROGRAMFILES64\"
  StrCpy $R4 $R1 $R3
  ${If} $R4 == "$PROGRAMFILES64\"
    StrCpy $R0 1
  ${EndIf}
  StrLen $R3 "$PROGRAMFILES32\"
  StrCpy $R4 $R1 $R3
  ${If} $R4 == "$PROGRAMFILES32\"
    StrCpy $R0 1
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  ${If} $AllUsers == 1
    Call InProgramFiles
    ${If} $R0 != 1
      MessageBox MB_ICONEXCLAMATION "$(OutsideProgramFiles)"
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "$(SecProgram)" SecProgram
  SectionIn RO
  Call EndRunningOmbrix
  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Ombrix.lnk" "$INSTDIR\Ombrix.exe"
  ; Written again below when the user keeps it. Older versions wrote it for every user too.
  DeleteRegValue HKCU "${RUN_KEY}" "Ombrix"
  DeleteRegValue SHCTX "${RUN_KEY}" "Ombrix"

  ${If} $AllUsers == 1
    StrCpy $R0 " /ALLUSERS"
  ${Else}
    StrCpy $R0 ""
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Ombrix"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Ombrix developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ombrix.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"$R0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe"$R0 /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $R1 $R2 $R3
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $R1
SectionEnd

; The user's own entry, whichever kind of installation: it is the one Ombrix's own setting shows
; and writes.
Section "$(SecAutoStart)" SecAutoStart
  WriteRegStr HKCU "${RUN_KEY}" "Ombrix" '"$INSTDIR\Ombrix.exe"'
SectionEnd

; A silent update starts again the Ombrix it ended; an interactive one offers it on the last page.
; An elevated installer would start it elevated, so for every user it is left to the Start menu.
Section "-StartAgain"
  ${If} ${Silent}
  ${AndIf} $WasRunning == 1
  ${AndIf} $AllUsers != 1
    Exec '"$INSTDIR\Ombrix.exe"'
  ${EndIf}
SectionEnd

; Where to install, and whether to start at log-on, for the chosen kind of installation: an
; earlier installation of that kind is updated and keeps its log-on choice; a new one starts at
; log-on. Switches given on the command line win.
Function ApplyMode
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ReadRegStr $R0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $DirGiven != 1
    ${If} $R0 != ""
      StrCpy $INSTDIR $R0
    ${ElseIf} $AllUsers == 1
      StrCpy $INSTDIR "$PROGRAMFILES64\Ombrix"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Ombrix"
    ${EndIf}
  ${EndIf}
  ${If} $AutoStartGiven != 1
    ReadRegStr $R1 HKCU "${RUN_KEY}" "Ombrix"
    ${If} $R0 == ""
    ${OrIf} $R1 != ""
      !insertmacro SelectSection ${SecAutoStart}
    ${Else}
      !insertmacro UnselectSection ${SecAutoStart}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onInit
  ${If} $INSTDIR != ""
    StrCpy $DirGiven 1
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
    StrCpy $ModeGiven 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
    StrCpy $ModeGiven 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART" $R1
  ${IfNot} ${Errors}
    StrCpy $AutoStartGiven 1
    !insertmacro SelectSection ${SecAutoStart}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/NOAUTOSTART" $R1
  ${IfNot} ${Errors}
    StrCpy $AutoStartGiven 1
    !insertmacro UnselectSection ${SecAutoStart}
  ${EndIf}
  ; Without a switch, an installation for every user that this user has not replaced is updated.
  ${If} $ModeGiven != 1
    ReadRegStr $R1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $R2 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R1 == ""
    ${AndIf} $R2 != ""
      StrCpy $AllUsers 1
    ${EndIf}
  ${EndIf}
  ; Chosen by a switch, or found in a silent update (no page will offer the choice): the rights
  ; are needed now, and a silent run without them ends with exit code 740.
  ${If} $AllUsers == 1
    ${If} $ModeGiven == 1
    ${OrIf} ${Silent}
      Push "/ALLUSERS"
      Push "$EXEPATH"
      Call ElevateForEveryone
    ${EndIf}
  ${EndIf}
  Call ApplyMode
  ; A silent run shows no folder page, whose leaving checks this otherwise.
  ${If} ${Silent}
  ${AndIf} $AllUsers == 1
    Call InProgramFiles
    ${If} $R0 != 1
      MessageBox MB_ICONSTOP "$(OutsideProgramFiles)" /SD IDOK
      SetErrorLevel ${EXIT_SHARED_FOLDER}
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function ModePage
  ${If} $ModeGiven == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "$(ModeTitle)" "$(ModeSubtitle)"
  nsDialogs::Create 1018
  Pop $R0
  ${NSD_CreateRadioButton} 0 0 100% 12u "$(ModeJustMe)"
  Pop $JustMeButton
  ${NSD_CreateRadioButton} 0 20u 100% 12u "$(ModeEveryone)"
  Pop $EveryoneButton
  ${If} $AllUsers == 1
    ${NSD_Check} $EveryoneButton
  ${Else}
    ${NSD_Check} $JustMeButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $EveryoneButton $R0
  ${If} $R0 == ${BST_CHECKED}
    Push "/ALLUSERS"
    Push "$EXEPATH"
    Call ElevateForEveryone
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call ApplyMode
FunctionEnd

Function FinishPageShow
  ${If} $AllUsers == 1
    ${NSD_Uncheck} $mui.FinishPage.Run
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function StartOmbrix
  Exec '"$INSTDIR\Ombrix.exe"'
FunctionEnd

; The Run entry of that root, when it starts this copy (quoted, or as older versions wrote it).
!macro REMOVE_RUN_ENTRY root
  ReadRegStr $R0 ${root} "${RUN_KEY}" "Ombrix"
  ${If} $R0 == '"$INSTDIR\Ombrix.exe"'
  ${OrIf} $R0 == "$INSTDIR\Ombrix.exe"
    DeleteRegValue ${root} "${RUN_KEY}" "Ombrix"
  ${EndIf}
!macroend

Section "Uninstall"
  Call un.EndRunningOmbrix
  !insertmacro RemoveFiles
  ; The crash-recovery files Ombrix leaves only when it ended abnormally.
  Delete "$INSTDIR\Ombrix.restore"
  Delete "$INSTDIR\Ombrix.desktops"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Ombrix.lnk"
  ; Ombrix's own setting writes the entry for the current user, whichever kind of installation.
  !insertmacro REMOVE_RUN_ENTRY HKCU
  ${If} $AllUsers == 1
    !insertmacro REMOVE_RUN_ENTRY HKLM
  ${EndIf}
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  ; The user's own data: the settings, and the wallpaper copies they name, go only when the
  ; user says so; the copy of the user's own wallpaper and the recovery files always go. The
  ; image the system's wallpaper names never goes.
  SetShellVarContext current
  Call un.KeepWallpaper
  Delete "${WALLPAPER_STORE}\Ombrix.restore"
  Delete "${WALLPAPER_STORE}\Ombrix.desktops"
  ${If} $KeepEntry != "0"
    RMDir /r "${WALLPAPER_STORE}\0"
  ${EndIf}
  EnumRegKey $R2 HKCU "${SETTINGS_KEY}" 0
  ${If} $R2 == ""
    Goto kept  ; no settings to ask about
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${If} ${Errors}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettings)" /SD IDNO IDYES remove
    Goto kept
  ${EndIf}
  remove:
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  Call un.RemoveWallpaperStore
  kept:
  DeleteRegKey /ifempty HKCU "${SETTINGS_KEY}"
  RMDir "${WALLPAPER_STORE}"
SectionEnd

; A recorded value of the user's own wallpaper back under the system's key; one that was
; missing is missing again.
!macro RESTORE_WALLPAPER_VALUE name recorded
  ClearErrors
  ReadRegStr $R6 HKCU "${SETTINGS_KEY}\Settings" "${recorded}"
  ${If} ${Errors}
    DeleteRegValue HKCU "${DESKTOP_KEY}" "${name}"
  ${Else}
    WriteRegStr HKCU "${DESKTOP_KEY}" "${name}" $R6
  ${EndIf}
!macroend

; The system's wallpaper names an image of the store when Ombrix ended abnormally on a desktop
; with an image of its own, or when the user's own image is gone. The user's own wallpaper, as
; Ombrix recorded it, comes back while its image is there; otherwise the store's image stays:
; $KeepEntry is then its folder (or file) right below the store.
Function un.KeepWallpaper
  StrCpy $KeepEntry ""
  StrCpy $R0 "${WALLPAPER_STORE}\"
  StrLen $R1 $R0
  ReadRegStr $R2 HKCU "${DESKTOP_KEY}" "Wallpaper"
  StrCpy $R3 $R2 $R1
  ${If} $R3 != $R0  ; compared without case
    Return
  ${EndIf}
  ClearErrors
  ReadRegStr $R4 HKCU "${SETTINGS_KEY}\Settings" "UserWallpaper"
  ${IfNot} ${Errors}
    StrCpy $R3 $R4 $R1
    ${If} $R3 != $R0
      ${If} $R4 == ""  ; the user had no image
      ${OrIf} ${FileExists} "$R4"
        !insertmacro RESTORE_WALLPAPER_VALUE WallpaperStyle UserWallpaperStyle
        !insertmacro RESTORE_WALLPAPER_VALUE TileWallpaper UserTileWallpaper
        System::Call 'user32::SystemParametersInfoW(i ${SPI_SETDESKWALLPAPER}, i 0, w R4, i ${SPIF_UPDATEINIFILE_SENDCHANGE}) i .R5'
        ${If} $R5 != 0
          Return
        ${EndIf}
      ${EndIf}
    ${EndIf}
  ${EndIf}
  StrCpy $R3 $R2 "" $R1
  StrCpy $R5 0
  ${Do}
    StrCpy $R6 $R3 1 $R5
    ${If} $R6 == "\"
    ${OrIf} $R6 == ""
      ${Break}
    ${EndIf}
    IntOp $R5 $R5 + 1
  ${Loop}
  StrCpy $KeepEntry $R3 $R5
FunctionEnd

; Everything of the wallpaper store but the entry that holds the system's wallpaper.
Function un.RemoveWallpaperStore
  ${If} $KeepEntry == ""
    RMDir /r "${WALLPAPER_STORE}"
    Return
  ${EndIf}
  FindFirst $R0 $R1 "${WALLPAPER_STORE}\*"
  ${DoWhile} $R1 != ""
    ${If} $R1 != "."
    ${AndIf} $R1 != ".."
    ${AndIf} $R1 != $KeepEntry
      RMDir /r "${WALLPAPER_STORE}\$R1"
      Delete "${WALLPAPER_STORE}\$R1"
    ${EndIf}
    FindNext $R0 $R1
  ${Loop}
  FindClose $R0
FunctionEnd

Function un.onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  ; Started from its folder without the switch: the machine's entry tells which kind it is.
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R1 == $INSTDIR
    StrCpy $AllUsers 1
  ${EndIf}
  ${If} $AllUsers == 1
    Push "/ALLUSERS"
    Push "$INSTDIR\Uninstall.exe"
    Call un.ElevateForEveryone
    SetShellVarContext all
  ${EndIf}
FunctionEnd
