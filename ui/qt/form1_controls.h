#pragma once

class QAction;
class QFont;
class QRect;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tallix {

// The main window's controls, named as in its original designer layout; each also carries
// its name as objectName, which the tests go by.
struct Form1Controls {
    QGroupBox* Frame1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QLabel* Label19;
    QPushButton* Command10;
    QPushButton* Command9;
    QLineEdit* txtFileName;
    QPushButton* Command8;
    QPushButton* Command7;
    QLabel* Label18;
    QFrame* Line1;
    QLabel* Label17;
    QPlainTextEdit* lblFoundline;
    QLabel* Label16;
    QLabel* LblTotalLine;
};

struct Form1Menus {
    QMenu* meuFile;
    QAction* meuOpen;
    QAction* meuClear;
    QAction* meuStart;
    QAction* meuSave;
    QAction* meuExportSource;
    QAction* meuExit;
    QMenu* meuOption;
    QMenu* meuSource;
    QAction* meuVB6Proj;
    QAction* meuVBdotNetProj;
    QAction* meuBlankLine;
    QAction* meuRemarkLine;
    QMenu* meuHelp;
    QAction* meuHelpFile;
    QAction* meuVisitMyWeb;
    QAction* meuMailToMe;
    QAction* meuAbout;
};

// The client area's size in pixels (7605 x 4350 twips).
inline constexpr int kClientWidth = 507;
inline constexpr int kClientHeight = 290;

// 宋体 (SimSun) at the given size, or where Windows is not, another Song face that covers the
// Chinese captions.
QFont SongFont(double points);

// A rectangle designed in twips, in pixels at 15 twips to a pixel.
QRect TwipsRect(int left, int top, int width, int height);

// Keeps a label that sized itself to its text on the middle of its designed line.
void CentreOnDesignedLine(QLabel* label, int designedTop, int designedHeight);

// Lays the controls out on the client area at their designed places, fonts and tab order.
Form1Controls CreateControls(QWidget* client);

// Fills the menu bar.
Form1Menus CreateMenus(QMenuBar* bar);

}  // namespace tallix
