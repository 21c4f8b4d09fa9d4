#include "ui/desktop_opener.h"

#include <QDesktopServices>

#include <utility>

#include "base/platform.h"

namespace morvel {
namespace {

TUrlOpener& CurrentOpener() {
  static TUrlOpener opener;
  return opener;
}

}  // namespace

TUrlOpener SetUrlOpener(TUrlOpener opener) { return std::exchange(CurrentOpener(), std::move(opener)); }

bool OpenUrl(const QUrl& url) {
  const TUrlOpener& opener = CurrentOpener();
  if (opener) return opener(url);
  return QDesktopServices::openUrl(url);
}

bool OpenPath(const std::filesystem::path& path) { return OpenUrl(QUrl::fromLocalFile(QtPath(path))); }

QString QtPath(const std::filesystem::path& path) { return QString::fromStdString(PathToUtf8(path)); }

std::filesystem::path FsPath(const QString& path) { return PathFromUtf8(path.toStdString()); }

}  // namespace morvel
