#include "phrase.h"

#include <QCoreApplication>

namespace Phrase {

namespace {
thread_local bool untranslated = false;
}

QString translate(const char *context, const char *source)
{
    return untranslated ? QString::fromUtf8(source) : QCoreApplication::translate(context, source);
}

Untranslated::Untranslated() : was(untranslated)
{
    untranslated = true;
}

Untranslated::~Untranslated()
{
    untranslated = was;
}

} // namespace Phrase
