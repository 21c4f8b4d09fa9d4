// The windowed mode speaks Russian whatever the system's locale: the clerks' own
// texts are Russian, and so must be the buttons, dialogs and calendars Qt supplies.
#pragma once

class QCoreApplication;

namespace morvel {

// Makes Russian (Russia) the default locale, for dates and calendars, and installs
// Qt's own Russian translations ("qtbase_ru.qm") into the application, which owns
// them from then on. The file beside the program wins over Qt's translations
// folder, so a workstation whose Qt has none can be given one. Returns whether the
// translations were found; without them Qt's texts stay English and nothing fails.
bool UseRussianInterface(QCoreApplication& application);

}  // namespace morvel
