#include "ApplicationStart.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace zandrel {

bool LoadQtPortuguese(QApplication& application, const QString& folder) {
    // The program's texts are Brazilian Portuguese: "qtbase_pt_BR" is tried, then "qtbase_pt".
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator.get()))
        return false;
    translator.release()->setParent(&application); // the application's for the rest of the run
    return true;
}

void PrepareApplication(QApplication& application) {
    LoadQtPortuguese(application, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace zandrel
