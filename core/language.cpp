#include "core/language.h"

#include <QLocale>
#include <QTranslator>

Language textLanguage(const QStringList &uiLanguages)
{
    bool other = false;
    for (const QString &name : uiLanguages) {
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::Chinese)
            return Language::Chinese;
        if (language == QLocale::English)
            return Language::English;
        other = other || (language != QLocale::C && language != QLocale::AnyLanguage);
    }
    return other ? Language::English : Language::Chinese;
}

bool loadTranslation(QTranslator &translator, Language language)
{
    return language == Language::English && translator.load(QStringLiteral(":/i18n/orvane_en.qm"));
}

QLocale resourceLocale(Language language, const QLocale &system)
{
    const bool english = system.language() == QLocale::English;
    if (language == Language::English)
        return english ? system : QLocale(QLocale::English, system.territory());
    return english ? QLocale(QLocale::Chinese, QLocale::China) : system;
}
