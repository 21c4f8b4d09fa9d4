#include "ui/russian_interface.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>

#include "base/paths.h"
#include "ui/desktop_opener.h"

namespace morvel {
namespace {

const QString kQtTranslations = QStringLiteral("qtbase_ru");

QStringList TranslationFolders() {
  return {QtPath(ProgramFolder()), QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool LoadQtTranslations(QTranslator& translator) {
  for (const QString& folder : TranslationFolders()) {
    if (translator.load(kQtTranslations, folder)) return true;
  }
  return false;
}

}  // namespace

bool UseRussianInterface(QCoreApplication& application) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  auto translator = std::make_unique<QTranslator>();
  if (!LoadQtTranslations(*translator)) return false;
  translator->setParent(&application);
  return QCoreApplication::installTranslator(translator.release());
}

}  // namespace morvel
