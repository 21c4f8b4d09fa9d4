#include "ui/login_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/credentials.h"
#include "config/settings.h"

namespace morvel {

TLoginForm::TLoginForm(QWidget* parent, TLoginTarget target) : QDialog(parent), fTarget(target) {
  setWindowTitle(QStringLiteral("Идентификация пользователя"));
  setObjectName(QStringLiteral("LoginForm"));

  lLogin = new QLabel(QStringLiteral("Имя пользователя:"), this);
  eLogin = new QLineEdit(this);
  eLogin->setObjectName(QStringLiteral("eLogin"));
  lLogin->setBuddy(eLogin);
  lPassword = new QLabel(QStringLiteral("Пароль:"), this);
  ePassword = new QLineEdit(this);
  ePassword->setObjectName(QStringLiteral("ePassword"));
  ePassword->setEchoMode(QLineEdit::Password);
  // The clerks are told that the password shows as "*"; the styles draw a dot
  // unless told otherwise (42 is '*').
  ePassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  lPassword->setBuddy(ePassword);

  bbOK = new QPushButton(QStringLiteral("Применить"), this);
  bbOK->setObjectName(QStringLiteral("bbOK"));
  bbOK->setDefault(true);
  bbCancel = new QPushButton(QStringLiteral("Отмена"), this);
  bbCancel->setObjectName(QStringLiteral("bbCancel"));
  connect(bbOK, &QPushButton::clicked, this, &TLoginForm::bbOKClick);
  connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* fields = new QGridLayout;
  fields->addWidget(lLogin, 0, 0);
  fields->addWidget(eLogin, 0, 1);
  fields->addWidget(lPassword, 1, 0);
  fields->addWidget(ePassword, 1, 1);
  fields->setColumnMinimumWidth(1, 200);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(bbOK);
  buttons->addWidget(bbCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TLoginForm::showEvent(QShowEvent* event) {
  eLogin->clear();
  ePassword->clear();
  QDialog::showEvent(event);
  eLogin->setFocus();
}

void TLoginForm::bbOKClick() {
  if (eLogin->text().isEmpty()) {
    QMessageBox::critical(this, QStringLiteral("Ошибка"), QStringLiteral("Имя пользователя не может быть пустым"));
    return;
  }
  // The credentials belong to the connection the dialog was opened for. The
  // page the settings dialog showed last says nothing about that: a login
  // before a run is always for the List server, and a clerk told the
  // credentials were taken must find them used by the next request.
  TSettings& settings = TSettings::GetInstance();
  const std::string login = eLogin->text().toStdString();
  const std::string password = ePassword->text().toStdString();
  // EncryptText encodes the windows-1251 bytes of the texts.
  if (fTarget == TLoginTarget::ltListServer) {
    settings.FULLogin = EncryptText(login, kUserNameKey);
    settings.FULPass = EncryptText(password, kPasswordKey);
  } else {
    settings.FCrossUserDB = EncryptText(login, kUserNameKey);
    settings.FCrossPasswordDB = EncryptText(password, kPasswordKey);
  }
  accept();
}

}  // namespace morvel
