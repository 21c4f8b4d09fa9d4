// Base of the windows that write to the log: the same two operations as the
// ordinary logging objects, on a main-window form.
#pragma once

#include <QMainWindow>

#include <exception>
#include <string>

namespace morvel {

class TLoggingForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TLoggingForm(QWidget* parent = nullptr);
  ~TLoggingForm() override = default;

  virtual void Log(const std::string& entry, bool isError = false);
  // Logs the exception with its stack-trace file.
  virtual void LogError(const std::exception& e);
};

}  // namespace morvel
