#include "ui/ui_text.h"

#include <QFontDatabase>
#include <QStringList>

namespace morvel {

QFont FormFont() {
  QFont font(QStringLiteral("Tahoma"));
  if (!QFontDatabase::families().contains(QStringLiteral("Tahoma"))) font = QFont(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(9);
  return font;
}

}  // namespace morvel
