// Opening a file or folder with the application the desktop associates with it.
// The windows go through here, so that tests can watch the requests instead of
// starting a viewer.
#pragma once

#include <QUrl>

#include <filesystem>
#include <functional>

namespace morvel {

using TUrlOpener = std::function<bool(const QUrl&)>;

// Replaces the opener (an empty function restores QDesktopServices::openUrl);
// returns the one it replaced.
TUrlOpener SetUrlOpener(TUrlOpener opener);

bool OpenUrl(const QUrl& url);
// A local file or folder.
bool OpenPath(const std::filesystem::path& path);

// The path of a local file in the form Qt takes it (UTF-8 inside, native outside).
QString QtPath(const std::filesystem::path& path);
std::filesystem::path FsPath(const QString& path);

}  // namespace morvel
