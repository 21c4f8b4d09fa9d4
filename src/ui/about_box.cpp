#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/settings.h"
#include "ui/ui_text.h"

namespace morvel {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(U("О программе"));
  setFont(FormFont());

  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  panel->setPalette(palette);

  ProductName = new QLabel(U("Морвель"), panel);
  ProductName->setObjectName("ProductName");
  QFont bold = FormFont();
  bold.setBold(true);
  QFont title = bold;
  title.setPixelSize(16);
  ProductName->setFont(title);

  Comments = new QLabel(
      U("  Осуществляет автоматическую сверку данных Перечня рабочих мест, профессий, занятость на которых дает "
        "право застрахованным лицам на досрочное назначение трудовых пенсий с информацией, содержащейся в "
        "индивидуальных сведениях."),
      panel);
  Comments->setObjectName("Comments");
  Comments->setWordWrap(true);

  const TSettings& settings = TSettings::GetInstance();
  Version = new QLabel(U("Версия ") + U(settings.FullVersion()) + U(" от ") + U(settings.AppDate()), panel);
  Version->setObjectName("Version");
  Version->setFont(bold);

  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->setContentsMargins(16, 16, 16, 16);
  panelLayout->setSpacing(12);
  panelLayout->addWidget(ProductName);
  panelLayout->addWidget(Comments);
  panelLayout->addWidget(Version);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  OKButton = buttons->button(QDialogButtonBox::Ok);
  OKButton->setText(U("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel);
  layout->addWidget(buttons);
  Comments->setMinimumWidth(340);
  setFixedSize(sizeHint());
}

void TAboutBox::showEvent(QShowEvent* event) {
  // Centred on the main window, whatever was moved since the last time.
  if (parentWidget() != nullptr) {
    const QRect owner = parentWidget()->window()->frameGeometry();
    move(owner.center() - rect().center());
  }
  QDialog::showEvent(event);
}

}  // namespace morvel
