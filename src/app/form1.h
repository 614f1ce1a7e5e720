#pragma once

#include "form/controls.h"
#include "form/formcontext.h"
#include "form/formstate.h"
#include "platform/ports.h"

#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class DetectionScan;
class FailureReport;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QUrl;
class ReceiveHandler;
class Requests;
class Startup;
class StatusPanel;

// What the window talks to. Tests hand in fakes; the tool uses the real ones.
struct Form1Seams {
    std::unique_ptr<SerialLink> MSComm1;
    std::unique_ptr<Timer> Timer1;
    std::unique_ptr<Timer> Timer2;
    std::unique_ptr<MessageBox> messages;
    std::function<bool(const QUrl &)> openUrl;
    // The map MSComm1 resolves its ports with, for the port list's tooltips
    // and the status bar. The window refreshes it when the port list opens
    // or a port is picked.
    std::shared_ptr<PortMap> ports;

    static Form1Seams forDesktop();
};

// The main window: its controls, the shared state, and every handler wired
// to its event.
class Form1 : public QWidget, public Controls
{
    Q_OBJECT

public:
    explicit Form1(Form1Seams seams, QWidget *parent = nullptr);
    ~Form1() override;

    // Runs once, before the window is first shown.
    void Form_Load();

    // Controls
    int listIndex(ListControl list) const override;
    void setListIndex(ListControl list, int index) override;
    QString listText(ListControl list) const override;
    QString text(TextControl box) const override;
    void setText(TextControl box, const QString &text) override;
    void setRequestButtonsEnabled(bool enabled) override;
    void setLamp(Lamp lamp) override;

    void Combo1_Click();
    void Combo3_Click();
    void Combo4_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Text1_Change();
    void Text2_Change();
    void Timer1_Timer();
    void Timer2_Timer();
    void MSComm1_OnComm();

private:
    void buildControls();
    void wireEvents();
    void raiseListClick(ListControl list);
    void refreshPorts();
    void wireStatusPanel();
    SerialDevice deviceDetails(const QString &path) const;
    QComboBox *list(ListControl list) const;
    QLineEdit *box(TextControl box) const;

    Form1Seams m_seams;
    FormState m_state;
    FormContext m_context;

    std::array<QComboBox *, 4> m_lists{};
    std::array<QLineEdit *, 7> m_boxes{};
    std::array<QPushButton *, 6> m_buttons{}; // Command1 … Command6
    QLabel *m_image1 = nullptr;
    QStatusBar *m_statusBar1 = nullptr;
    StatusPanel *m_panel1 = nullptr;
    QString m_openDevice; // of the last open, for its line in the status bar
    std::array<QPixmap, 3> ImageList1;

    std::unique_ptr<Requests> m_requests;
    std::unique_ptr<DetectionScan> m_scan;
    std::unique_ptr<FailureReport> m_failure;
    std::unique_ptr<ReceiveHandler> m_receive;
    std::unique_ptr<Startup> m_startup;
};
