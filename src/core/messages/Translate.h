#pragma once
// Texts the windows and the command line show are written in Japanese and marked for Qt's
// translation tools (lupdate knows both names below); the Qt side translates them, as core
// links no Qt. Texts that go into files are never marked: files are the same in every language.
#include <string>

// Marks a text kept in a table; the table holds the Japanese text, the UI translates it.
#define SAROKO_TRANSLATE_NOOP(context, text) text

namespace saroko {

using TranslateFn = std::string (*)(const char* context, const char* text);

// Installed by the Qt side at start; without it every text stays as written.
void SetTranslateFn(TranslateFn fn);

// The shown form (UTF-8) of a text core formats itself.
std::string TranslateText(const char* context, const char* text);

// The shown form of a printf format: the translation only when it converts the same arguments
// in the same order, so a faulty translation can never misread them.
std::string TranslateFormat(const char* context, const char* format);

} // namespace saroko
