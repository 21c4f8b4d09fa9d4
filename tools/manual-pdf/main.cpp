// Renders the user manual from its Markdown source into a PDF file with Qt's own
// text layout and PDF writer, so that the build needs nothing beyond Qt.
//
//   morvel-manual-pdf <source.md> <output.pdf>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: morvel-manual-pdf <source.md> <output.pdf>\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  QFile source(QString::fromLocal8Bit(argv[1]));
  if (!source.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "morvel-manual-pdf: cannot read %s\n", argv[1]);
    return 1;
  }
  const QString markdown = QString::fromUtf8(source.readAll());

  QTextDocument document;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(10.5);
  document.setDefaultFont(font);
  document.setDefaultStyleSheet(QStringLiteral("table { border-collapse: collapse; } th, td { padding: 3px; }"));
  document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);

  const QString output = QString::fromLocal8Bit(argv[2]);
  QPdfWriter writer(output);
  writer.setTitle(QStringLiteral("Морвель - Руководство пользователя"));
  writer.setCreator(QStringLiteral("Морвель"));
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(20, 18, 15, 18), QPageLayout::Millimeter);
  writer.setResolution(300);
  document.print(&writer);

  QFile written(output);
  if (!written.exists() || written.size() == 0) {
    std::fprintf(stderr, "morvel-manual-pdf: nothing was written to %s\n", argv[2]);
    return 1;
  }
  return 0;
}
