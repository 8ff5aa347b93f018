#pragma once

#include <QLocale>
#include <QStringList>

class QTranslator;

// The languages of the program's texts. They are written in Chinese; English comes from a translation.
enum class Language { Chinese, English };

// The language for a desktop whose preferred languages, first first, are `uiLanguages` (as
// QLocale::uiLanguages() gives them: LANGUAGE, then LC_ALL, LC_MESSAGES, LANG): the first of them that is Chinese or
// English; English for any other language; Chinese where no language is set (the C locale).
Language textLanguage(const QStringList &uiLanguages);

// Loads into `translator` the translation of the program's texts into `language`; false for Chinese, whose texts
// need none, or if it cannot be loaded.
bool loadTranslation(QTranslator &translator, Language language);

// The locale the program's resources are picked in, its English pictures being tagged "en": the desktop's own
// `system` locale where its language picks the pictures of `language` already, else one of that language.
QLocale resourceLocale(Language language, const QLocale &system);
