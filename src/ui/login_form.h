// The dialog that asks for the user name and password of a server connection and
// keeps them, encoded, in the settings.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace morvel {

// The connection the credentials are asked for.
enum class TLoginTarget { ltListServer, ltCrossingServer };

class TLoginForm : public QDialog {
  Q_OBJECT

 public:
  explicit TLoginForm(QWidget* parent = nullptr, TLoginTarget target = TLoginTarget::ltListServer);

  // Where the next "Применить" stores the credentials.
  void SetTarget(TLoginTarget target) { fTarget = target; }
  TLoginTarget Target() const { return fTarget; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void bbOKClick();

  QLabel* lLogin = nullptr;
  QLineEdit* eLogin = nullptr;
  QLabel* lPassword = nullptr;
  QLineEdit* ePassword = nullptr;
  QPushButton* bbOK = nullptr;
  QPushButton* bbCancel = nullptr;
  TLoginTarget fTarget;
};

}  // namespace morvel
