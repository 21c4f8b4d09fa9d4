// The program's name, description, version and build date.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace morvel {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QLabel* ProductName = nullptr;
  QLabel* Comments = nullptr;
  QLabel* Version = nullptr;
  QPushButton* OKButton = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace morvel
