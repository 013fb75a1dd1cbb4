// User-visible messages and the three message boxes through which they are shown.
#pragma once

#include <string>
#include <vector>

namespace ombrix {

class Program;

// A message: its identifier in section "GLOBAL" and its built-in English text.
struct MessageText {
  const char* id;
  const char* text;
};

namespace msgs {
inline constexpr MessageText kExit{"0001", "Exit Ombrix?"};
inline constexpr MessageText kAttention{"0002", "Attention!"};
inline constexpr MessageText kCannotSetWallpaper{"0003", "Could not set this image to wallpaper!"};
inline constexpr MessageText kAlreadyRunning{"0004", "The application is already running"};
inline constexpr MessageText kRuleExists{"0005", "This rule already exists in the list!"};
inline constexpr MessageText kContains{"0006", "contains"};
inline constexpr MessageText kNotContains{"0007", "doesn't contain"};
inline constexpr MessageText kStartsWith{"0008", "starts with"};
inline constexpr MessageText kEndsWith{"0009", "ends with"};
inline constexpr MessageText kEqualTo{"0010", "is equal to"};
inline constexpr MessageText kMoveToDesk{"0011", "Move To Desk"};
inline constexpr MessageText kMaximize{"0012", "Maximize"};
inline constexpr MessageText kMinimize{"0013", "Minimize"};
inline constexpr MessageText kClose{"0014", "Close"};
inline constexpr MessageText kSetWallpaper{"0015", "Set Wallpaper"};
inline constexpr MessageText kRemoveWallpaper{"0016", "Remove Wallpaper"};
inline constexpr MessageText kAnd{"0017", "And"};
inline constexpr MessageText kOr{"0018", "Or"};
inline constexpr MessageText kWrongPassword{"0019", "Wrong password!"};
inline constexpr MessageText kOldPasswordWrong{
    "0020", "The old password is not correct: nothing was changed."};
inline constexpr MessageText kRemovePassword{"0021", "Do you want to remove the password?"};
inline constexpr MessageText kKill{"0023", "Kill"};
inline constexpr MessageText kVisibility{"0024", "Visibility(2000/XP)"};
inline constexpr MessageText kEnableActiveDesktopOne{
    "0029",
    "The desktop image you've chosen requires Active Desktop but it is disabled. Enable it now?"};
inline constexpr MessageText kEnableActiveDesktopSome{
    "0030",
    "Some desktop images you've chosen require Active Desktop but it is disabled. Enable it now?"};
inline constexpr MessageText kApps{"0031", "apps"};
inline constexpr MessageText kChangingDesktop{"0032", "Changing desktop to %1 ..."};
inline constexpr MessageText kAddRuleBeforeExit{"0033", "Do you want to add this rule before exit?"};
inline constexpr MessageText kIgnoreApp{"0034", "Ignore App."};
inline constexpr MessageText kWelcome{
    "0035", "Welcome to Ombrix! Click over this icon to use the program!"};
inline constexpr MessageText kHotKeysUnavailable{
    "0036", "Hot-keys are not available: OmbrixLib.dll is missing or could not be loaded."};
inline constexpr MessageText kNoMainWindow{
    "0101", "Ombrix cannot run: its main window could not be created."};
inline constexpr MessageText kNoTrayIcon{
    "0102",
    "Ombrix could not add its icon to the notification area. The hot-keys work; the icon "
    "appears when the taskbar starts again."};
inline constexpr MessageText kNoRecoveryFile{
    "0103",
    "Ombrix cannot write its recovery file. If Ombrix ends abnormally, the windows of hidden "
    "desktops stay hidden."};
inline constexpr MessageText kStaysOnScreen{
    "0104",
    "%1 stays on screen on every desktop: only Ombrix started with administrator rights can "
    "manage it."};
inline constexpr MessageText kBadRecoveryFile{
    "0105", "Ombrix deleted %1 unread: it is too large to be a file of its own."};
inline constexpr MessageText kWindowNotOpened{"0140", "Ombrix could not open this window."};
inline constexpr MessageText kHelpMissing{
    "0141", "The help file %1 is missing. Installing Ombrix again brings it back."};
inline constexpr MessageText kCannotOpen{"0142", "%1 could not be opened."};
inline constexpr MessageText kAboutWhat{
    "0143", "Nine desktops on one screen, from the tray icon and the keyboard."};
inline constexpr MessageText kAboutThanks{
    "0144", "Thanks to everyone who tried it out and told us what was missing."};
inline constexpr MessageText kTranslationToolMissing{
    "0160", "The translation tool %1 is not installed beside Ombrix."};
inline constexpr MessageText kAutoStartNotWritten{
    "0161", "Ombrix could not write its entry in %1, so it will not start with Windows."};
inline constexpr MessageText kAutoStartNotRemoved{
    "0162", "Ombrix could not remove its entry from %1, so it still starts with Windows."};
inline constexpr MessageText kLanguageFileGone{
    "0163", "The language file %1 is no longer beside Ombrix. Choose another language."};
inline constexpr MessageText kThemeGone{
    "0164", "The theme %1 is no longer in the themes folder. Choose another theme."};
inline constexpr MessageText kSettingsNotSaved{
    "0165", "Ombrix could not save the settings in the registry, so nothing was changed."};
inline constexpr MessageText kWallpaperNotCopied{
    "0166", "Ombrix could not keep a copy of %1, so the wallpaper was not changed."};
inline constexpr MessageText kPasswordNotProtected{
    "0167", "Windows could not protect the new password, so nothing was changed."};

// The rules editor and the organize-applications dialog.
inline constexpr MessageText kMoveToDesktop{"0180", "Move to %1"};
inline constexpr MessageText kRulesNotSaved{
    "0181", "Ombrix could not save the rules: they apply until Ombrix ends."};
inline constexpr MessageText kRuleNeedsName{"0182", "Give the rule a name."};
inline constexpr MessageText kRuleNeedsTest{
    "0183", "Choose what the rule looks at: the window text, the window class or both."};
inline constexpr MessageText kRuleNeedsText{
    "0184", "Type the text to look for in the window text."};
inline constexpr MessageText kRuleNeedsClass{
    "0185", "Type the text to look for in the window class."};
inline constexpr MessageText kRuleNeedsDesktop{
    "0186", "Choose the desktop to move to, from 1 to 9."};
inline constexpr MessageText kRuleNeedsLevel{
    "0187", "Choose the visibility level, from 1 to 10."};
inline constexpr MessageText kRuleNeedsMode{"0188", "Choose how the text is compared."};
inline constexpr MessageText kRuleNeedsAction{"0189", "Choose what the rule does."};
}  // namespace msgs

// Every message of the program, in identifier order.
const std::vector<MessageText>& AllMessages();

// The text of message id in the loaded language, or its built-in text.
std::string GetMsg(const Program& program, const std::string& id, const std::string& defaultText);
std::string GetMsg(const Program& program, const MessageText& message);

// GetMsg with "%1".."%4" replaced by p1..p4, each over the text the previous left.
std::string GetMsgFmt(const Program& program, const std::string& id, const std::string& defaultText,
                      const std::string& p1, const std::string& p2 = "",
                      const std::string& p3 = "", const std::string& p4 = "");

// Modal message boxes titled by message "0002"; the busy state knows while one is open.
void ErrorBox(Program& program, const std::string& text);
void InfoBox(Program& program, const std::string& text);
bool AskYesNo(Program& program, const std::string& question);

namespace mb {
constexpr unsigned kError = 16;
constexpr unsigned kInfo = 64;
constexpr unsigned kYesNo = 36;
constexpr int kYes = 6;
}  // namespace mb

}  // namespace ombrix
