#include "ui/err_list_form.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/ui_text.h"

namespace morvel {
namespace {

constexpr int kItemHeight = 26;

}  // namespace

TErrListForm::TErrListForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(U("Список ошибок"));
  // A long list is easier to read on the whole screen.
  setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
  setSizeGripEnabled(true);
  resize(640, 320);

  lbErrors = new QListWidget(this);
  lbErrors->setObjectName("lbErrors");
  QFont font = FormFont();
  font.setPixelSize(13);
  lbErrors->setFont(font);
  lbErrors->setWordWrap(true);
  QPalette palette = lbErrors->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
  palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
  lbErrors->setPalette(palette);

  bbCopy = new QPushButton(U("Копировать"), this);
  bbCopy->setObjectName("bbCopy");
  bbPrint = new QPushButton(U("Печать"), this);
  bbPrint->setObjectName("bbPrint");
  connect(bbCopy, &QPushButton::clicked, this, &TErrListForm::bbCopyClick);
  connect(bbPrint, &QPushButton::clicked, this, &TErrListForm::bbPrintClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(bbCopy);
  buttons->addWidget(bbPrint);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbErrors, 1);
  layout->addLayout(buttons);
}

void TErrListForm::SetLines(const QStringList& lines) {
  lbErrors->clear();
  for (const QString& line : lines) {
    auto* item = new QListWidgetItem(line, lbErrors);
    // A message longer than the window wraps onto more lines instead of being cut.
    const int width = std::max(lbErrors->viewport()->width(), 400) - 8;
    const QRect r = QFontMetrics(lbErrors->font()).boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, line);
    item->setSizeHint(QSize(width, std::max(kItemHeight, r.height() + 8)));
  }
}

QStringList TErrListForm::Lines() const {
  QStringList lines;
  for (int i = 0; i < lbErrors->count(); ++i) lines << lbErrors->item(i)->text();
  return lines;
}

QString TErrListForm::ClipboardText() const {
  QString text;
  for (const QString& line : Lines()) text += line + QStringLiteral("\r\n");
  return text;
}

void TErrListForm::bbCopyClick() { QApplication::clipboard()->setText(ClipboardText()); }

bool TErrListForm::PrintLines(QPrinter& printer) const {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setFont(QFont(QStringLiteral("Courier New"), 10));
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect page = painter.viewport();
  int y = metrics.ascent();
  for (const QString& line : Lines()) {
    if (y + metrics.descent() > page.height()) {
      printer.newPage();
      y = metrics.ascent();
    }
    painter.drawText(0, y, line);
    y += metrics.lineSpacing();
  }
  return painter.end();
}

void TErrListForm::bbPrintClick() {
  QPrinter printer;
  QPrintDialog printDialog(&printer, this);
  if (printDialog.exec() != QDialog::Accepted) return;
  // A failed print job must not end the program: the user is told and may retry.
  if (!PrintLines(printer)) {
    QMessageBox::critical(this, windowTitle(), U("Не удалось выполнить печать на выбранном принтере."));
  }
}

}  // namespace morvel
