// Renders the user manual from its Markdown source into a PDF file with Qt's own
// text layout and PDF writer, so that the build needs nothing beyond Qt.
//
//   morvel-manual-pdf <source.md> <output.pdf> [<preview folder>]
//
// With a preview folder it also writes every page as a PNG picture there, to look
// at the layout without a PDF viewer.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: morvel-manual-pdf <source.md> <output.pdf> [<preview folder>]\n");
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

  if (argc == 4) {
    // Near the printed layout: the A4 page less the margins, in points.
    const QString folder = QString::fromLocal8Bit(argv[3]);
    QDir().mkpath(folder);
    const double mm = 72.0 / 25.4;
    const QSizeF page((210 - 35) * mm, (297 - 36) * mm);
    document.setPageSize(page);
    const double scale = 1000.0 / page.width();
    for (int i = 0; i < document.pageCount(); ++i) {
      QImage image((page * scale).toSize(), QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      painter.scale(scale, scale);
      painter.translate(0, -i * page.height());
      document.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
      painter.end();
      image.save(QDir(folder).filePath(QString("page-%1.png").arg(i + 1, 2, 10, QLatin1Char('0'))));
    }
  }

  QFile written(output);
  if (!written.exists() || written.size() == 0) {
    std::fprintf(stderr, "morvel-manual-pdf: nothing was written to %s\n", argv[2]);
    return 1;
  }
  return 0;
}
