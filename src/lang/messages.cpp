#include "lang/messages.h"

#include <utility>

#include "app/program.h"
#include "core/text.h"
#include "lang/translation.h"

namespace ombrix {

const std::vector<MessageText>& AllMessages() {
  static const std::vector<MessageText> all = {
      msgs::kExit,           msgs::kAttention,    msgs::kCannotSetWallpaper,
      msgs::kAlreadyRunning, msgs::kRuleExists,   msgs::kContains,
      msgs::kNotContains,    msgs::kStartsWith,   msgs::kEndsWith,
      msgs::kEqualTo,        msgs::kMoveToDesk,   msgs::kMaximize,
      msgs::kMinimize,       msgs::kClose,        msgs::kSetWallpaper,
      msgs::kRemoveWallpaper, msgs::kAnd,         msgs::kOr,
      msgs::kWrongPassword,  msgs::kOldPasswordWrong, msgs::kRemovePassword,
      msgs::kKill,           msgs::kVisibility,   msgs::kEnableActiveDesktopOne,
      msgs::kEnableActiveDesktopSome, msgs::kApps, msgs::kChangingDesktop,
      msgs::kAddRuleBeforeExit, msgs::kIgnoreApp, msgs::kWelcome,
      msgs::kHotKeysUnavailable, msgs::kNoMainWindow, msgs::kNoTrayIcon,
      msgs::kNoRecoveryFile,  msgs::kStaysOnScreen, msgs::kBadRecoveryFile,
      msgs::kWindowNotOpened, msgs::kHelpMissing,
      msgs::kCannotOpen,      msgs::kAboutWhat,       msgs::kAboutThanks,
      msgs::kTranslationToolMissing, msgs::kAutoStartNotWritten, msgs::kAutoStartNotRemoved,
      msgs::kLanguageFileGone, msgs::kThemeGone,  msgs::kSettingsNotSaved,
      msgs::kWallpaperNotCopied, msgs::kPasswordNotProtected,
      msgs::kMoveToDesktop,   msgs::kRulesNotSaved,   msgs::kRuleNeedsName,
      msgs::kRuleNeedsTest,   msgs::kRuleNeedsText,   msgs::kRuleNeedsClass,
      msgs::kRuleNeedsDesktop, msgs::kRuleNeedsLevel, msgs::kRuleNeedsMode,
      msgs::kRuleNeedsAction};
  return all;
}

std::string GetMsg(const Program& program, const std::string& id, const std::string& defaultText) {
  return GetSectionText(program, "GLOBAL", id, defaultText);
}

std::string GetMsg(const Program& program, const MessageText& message) {
  return GetMsg(program, message.id, message.text);
}

std::string GetMsgFmt(const Program& program, const std::string& id, const std::string& defaultText,
                      const std::string& p1, const std::string& p2, const std::string& p3,
                      const std::string& p4) {
  std::string text = GetMsg(program, id, defaultText);
  // Literal placeholders: GCC 12 warns falsely (-Wrestrict, an error here) about
  // "%" + std::to_string(n) in optimised builds.
  const std::pair<const char*, const std::string*> params[] = {
      {"%1", &p1}, {"%2", &p2}, {"%3", &p3}, {"%4", &p4}};
  for (const auto& [placeholder, value] : params) text = ReplaceAll(text, placeholder, *value);
  return text;
}

namespace {

int ShowBox(Program& program, const std::string& text, unsigned style) {
  const std::string title = GetMsg(program, msgs::kAttention);
  const BusyState::Guard box = program.busy.Enter(Busy::MessageBox);
  return program.platform.ui.MessageBox(0, text, title, style);
}

}  // namespace

void ErrorBox(Program& program, const std::string& text) { ShowBox(program, text, mb::kError); }

void InfoBox(Program& program, const std::string& text) { ShowBox(program, text, mb::kInfo); }

bool AskYesNo(Program& program, const std::string& question) {
  return ShowBox(program, question, mb::kYesNo) == mb::kYes;
}

}  // namespace ombrix
