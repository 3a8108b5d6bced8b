#pragma once

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;

namespace brevandor {

class LogView;
class PathField;

// The controls of the main window, each with an object name that tests find it by.
struct MainDialogWidgets {
  LogView* log = nullptr;                // "log"
  QLineEdit* statusLine = nullptr;       // "statusLine"
  QProgressBar* progress = nullptr;      // "runProgress": the whole run, stage by stage
  QComboBox* typeList = nullptr;         // "typeList": "PCCC", "SCCC", "SCC with 1st-RC and 2nd-CC"
  QLineEdit* numerator = nullptr;        // "numerator"
  QLineEdit* denominator = nullptr;      // "denominator"
  QLineEdit* frameLength = nullptr;      // "frameLength"
  QLabel* codeMessage = nullptr;         // "codeMessage": why a polynomial was refused
  PathField* fileName = nullptr;         // "fileName": the full path of the results file
  QAction* recentFiles = nullptr;        // "recentFilesAction", in the file-name field
  QMenu* recentMenu = nullptr;           // "recentFilesMenu": its list of recent files
  QPushButton* advancedSetup = nullptr;  // "advancedSetupButton"
  QPushButton* info = nullptr;           // "infoButton"
  QPushButton* option = nullptr;         // "optionButton"
  QPushButton* viewResults = nullptr;    // "viewResultsButton"
  QPushButton* selectFile = nullptr;     // "selectFileButton"
  QPushButton* cancel = nullptr;         // "cancelButton"
  QPushButton* getIt = nullptr;          // "getItButton"
  QPushButton* exit = nullptr;           // "exitButton"
  QLabel* advancedSummary = nullptr;     // "advancedSummary": non-default advanced settings
};

// Creates the main window's controls in `dialog` and lays them out as the window shows them:
// the log, the status line, the code row "type with ( 1, numerator / denominator ) Conv. Code",
// the frame length and file name, two rows of buttons, and the line that names any
// non-default advanced setting. The log takes any extra room. "Get it" is the default
// button, so Enter in a field starts a calculation; every button has a mnemonic.
MainDialogWidgets buildMainDialogWidgets(QDialog* dialog);

}  // namespace brevandor
