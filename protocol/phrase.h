#pragma once

#include <QString>

// Sentences for people go through Qt's translation system, in the language
// of the program's catalogue. Output that scripts read (CSV, JSON, the
// journal) keeps the English source text, whatever the language.
namespace Phrase {

// The source text in the installed catalogue's language, or as written.
QString translate(const char *context, const char *source);

// While one lives, on this thread, translate() gives the source text.
class Untranslated
{
public:
    Untranslated();
    ~Untranslated();
    Untranslated(const Untranslated &) = delete;
    Untranslated &operator=(const Untranslated &) = delete;

private:
    bool was;
};

} // namespace Phrase
