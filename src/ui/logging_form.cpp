#include "ui/logging_form.h"

#include "log/logger.h"

namespace morvel {

TLoggingForm::TLoggingForm(QWidget* parent) : QMainWindow(parent) {}

void TLoggingForm::Log(const std::string& entry, bool isError) {
  TSingleton::GetInstance<TLogger>().AddEntry(entry, isError);
}

void TLoggingForm::LogError(const std::exception& e) { TSingleton::GetInstance<TLogger>().LogException(e); }

}  // namespace morvel
