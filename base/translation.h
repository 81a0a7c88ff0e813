// The core's user-visible texts, translatable without Qt.
//
// The scheme: every text the core shows a user (error reasons, problem texts, tacconf's messages
// and help) is written as a whole English sentence, with %1, %2, ... where a file name, a number
// or a system reason goes, and passed through Translate("Context", "text") at the place the
// message is made. lupdate reads these calls as QCoreApplication::translate (the build gives it
// -tr-function-alias translate+=Translate,QT_TRANSLATE_NOOP+=TAV_TRANSLATE_NOOP), so the texts
// land in the program's .ts files with their context. Translate hands the text to the hook the
// program installed at start (translations/programtranslations.h, over Qt's translators) and
// returns it unchanged when none is installed: the core's own tests, and every program under a
// C or English locale, see exactly the English texts. Translating where the message is made,
// rather than where it is shown, is what lets a sentence keep its placeholders: by the time a
// message reaches the window it is one string with the file name already in it.
//
// Texts that files, the other application or scripts rely on (keys, values, "True"/"False",
// catalogue keywords, tacconf's JSON and exit codes) never go through Translate.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tav {

// Marks a text for lupdate where it is defined apart from its use (a table, a constant): the
// text itself, unchanged; Translate it where it is used, with the same context. A message with
// parts is FillIn(Translate("Context", "... %1 ..."), {part}): lupdate reads only calls of two
// literal arguments.
#define TAV_TRANSLATE_NOOP(context, text) text

// The translation of `text` (UTF-8, in `context`) by the installed hook; `text` itself when no
// hook is installed or the hook has no translation for it.
std::string Translate(const char* context, const char* text);

// `pattern` with each %1 ... %9 replaced by the argument of that number (the first is %1); a %
// followed by anything else, or by a number with no argument, stays as it is. Arguments are put
// in as they are: a % in them is never read as a placeholder.
std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> args);

// What Translate calls: the translation of `text` in `context`, or an empty string when there is
// none. It must be safe to call from any thread (saves run beside the window).
using TranslationHook = std::string (*)(const char* context, const char* text);

// Installs `hook` for the whole process (nullptr removes it), before the first text is made.
void SetTranslationHook(TranslationHook hook);

}  // namespace tav
