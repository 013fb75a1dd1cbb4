// Replacing a form's designed texts, and its menus' captions, by the loaded language's.
#pragma once

#include <string>
#include <unordered_map>

#include "ui/form.h"

namespace ombrix {

class Program;

// "Name(Index)" for an element of a control array, "Name" otherwise.
std::string ControlKey(const std::string& name, int index);
std::string ControlKey(const Control& control);

// Labels, frames, check boxes, option buttons, buttons and links: the kinds whose caption a
// language translates (a text box's caption is its text).
bool HasTranslatedCaption(ControlKind kind);

// Translates the form's caption, its controls' captions and every control's tooltip from the
// section named after the form; texts the language does not give stay as designed.
void TranslateForm(const Program& program, Form& form);

// Designed menu captions to their control keys, so a caption can be translated when drawn.
class clsMenuTranslation {
 public:
  // Fills the table from every item of the menu tree, in order; the first caption wins.
  void InitTranslationTableByForm(const Menu& menus);
  std::string GetMenuTranslation(const Program& program, const std::string& sFrmName,
                                 const std::string& sCaptionOrg) const;

 private:
  std::unordered_map<std::string, std::string> captionToKey_;
};

}  // namespace ombrix
