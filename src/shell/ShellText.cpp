#include "shell/ShellText.h"

#include "imaging/TextCodec.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installTranslations(const QLocale& locale) {
    static QTranslator qtTexts, ownTexts;
    QCoreApplication::removeTranslator(&qtTexts);
    QCoreApplication::removeTranslator(&ownTexts);
    if (qtTexts.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
    const bool own = ownTexts.load(locale, QStringLiteral("imprix"), QStringLiteral("_"),
                                   QStringLiteral(":/translations"));
    if (own) QCoreApplication::installTranslator(&ownTexts);
    return own;
}

std::string shellText(const char* context, const char* source, std::initializer_list<std::string> args) {
    QString text = QCoreApplication::translate(context, source);
    for (const std::string& arg : args)
        text = text.arg(imaging::toQString(arg));
    return imaging::toUtf8(text);
}
