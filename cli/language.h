#pragma once

#include <QString>

#include <functional>

// converter-cli speaks Simplified Chinese where the system's language is,
// English otherwise: on Windows the user's display language, elsewhere the
// environment as POSIX orders it (LC_ALL, LC_MESSAGES, LANG) with LANGUAGE
// as GNU programs honour it.
namespace Language {

// Whether the variables (read through variable) ask for Simplified Chinese.
bool chineseFromEnvironment(const std::function<QString(const char *)> &variable);

bool systemIsChinese();

// Loads the compiled-in Chinese catalogue when the system asks for it.
void install();

} // namespace Language
