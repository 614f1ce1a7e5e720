#include "app/form1.h"

#include "about/form2.h"
#include "about/help.h"
#include "app/artwork.h"
#include "app/form1layout.h"
#include "app/receivehandler.h"
#include "app/startup.h"
#include "app/statuspanel.h"
#include "detect/detectionscan.h"
#include "detect/failurereport.h"
#include "edit/frequencyfilter.h"
#include "edit/requests.h"
#include "form/twips.h"
#include "form/uitexts.h"
#include "platform/ports.h"
#include "platform/seriallink.h"
#include "words/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

using namespace form1layout;

namespace {

QRect geometryOf(const ControlRow &row)
{
    return QRect(px(row.left), px(row.top), px(row.width), px(row.height));
}

bool isDisplayBox(const ControlRow &row)
{
    // The boxes of "当前参数" only show what the transceiver reported.
    return row.kind == Kind::Box && row.container == Container::Frame2;
}

QFont listFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setWeight(QFont::Normal);
    return font;
}

void paint(QWidget *w, const QColor &background, const QColor &foreground)
{
    QPalette p = w->palette();
    for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
        p.setColor(role, background);
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        p.setColor(role, foreground);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// Combo4 asks the system for its serial devices again as it opens, so an
// adapter plugged in since start-up is listed with its details. A pick from
// the open list uses that answer; one made with the list closed (arrow keys)
// asks again.
class PortList : public QComboBox
{
public:
    using QComboBox::QComboBox;

    void showPopup() override
    {
        if (refresh)
            refresh();
        m_refreshed = true;
        QComboBox::showPopup();
    }

    void hidePopup() override
    {
        QComboBox::hidePopup();
        // A pick that closed the list is raised as this returns, before the
        // zero timer fires.
        QTimer::singleShot(0, this, [this] { m_refreshed = false; });
    }

    void refreshForPick()
    {
        if (!std::exchange(m_refreshed, false) && refresh)
            refresh();
    }

    std::function<void()> refresh;

private:
    bool m_refreshed = false;
};

} // namespace

Form1::Form1(Form1Seams seams, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_seams(std::move(seams)),
      m_context{m_state, *this, *m_seams.MSComm1, *m_seams.Timer1, *m_seams.Timer2,
                *m_seams.messages}
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(uitexts::kWindowCaption));
    setWindowIcon(emblemIcon());
    setFixedSize(px(kClientWidth), px(kClientHeight));

    ImageList1 = {lampPixmap(Lamp::Green), lampPixmap(Lamp::Yellow), lampPixmap(Lamp::Red)};

    m_requests = std::make_unique<Requests>(m_context);
    m_scan = std::make_unique<DetectionScan>(m_context);
    m_failure = std::make_unique<FailureReport>(m_context);
    m_receive = std::make_unique<ReceiveHandler>(m_context);
    m_startup = std::make_unique<Startup>(m_context, *m_requests);

    buildControls();
    wireEvents();
    wireStatusPanel();
    m_seams.messages->setParentWindow(this);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    QHash<QString, QWidget *> byName;
    const auto containerOf = [&](Container c) -> QWidget * {
        switch (c) {
        case Container::Frame1:
            return byName.value(QStringLiteral("Frame1"));
        case Container::Frame2:
            return byName.value(QStringLiteral("Frame2"));
        case Container::Window:
            break;
        }
        return this;
    };

    std::vector<std::pair<int, QWidget *>> tabStops;
    const QFont arial = listFont();
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);

    for (const ControlRow &row : kControls) {
        const QString name = QString::fromUtf8(row.name);
        const QString caption = QString::fromUtf8(row.caption);
        QWidget *parent = containerOf(row.container);
        QWidget *w = nullptr;

        switch (row.kind) {
        case Kind::Frame: {
            auto *frame = new QGroupBox(caption, parent);
            QPalette p = frame->palette();
            p.setColor(QPalette::WindowText, windowText);
            frame->setPalette(p);
            w = frame;
            break;
        }
        case Kind::Button: {
            auto *button = new QPushButton(caption, parent);
            button->setAutoDefault(false);
            m_buttons[size_t(row.slot)] = button;
            w = button;
            break;
        }
        case Kind::Label:
            w = new QLabel(caption, parent);
            break;
        case Kind::List: {
            auto *combo = row.items == Items::Ports ? new PortList(parent) : new QComboBox(parent);
            combo->setEditable(false);
            combo->setFont(arial);
            paint(combo, Qt::black, Qt::cyan);
            switch (row.items) {
            case Items::Ports:
                for (int port = 1; port <= kComPortCount; ++port)
                    combo->addItem(QStringLiteral("COM%1").arg(port));
                break;
            case Items::Rates:
                for (const char *rate : words::kRates)
                    combo->addItem(QString::fromUtf8(rate));
                break;
            case Items::Parities:
                for (const char *parity : words::kParities)
                    combo->addItem(QString::fromUtf8(parity));
                break;
            case Items::None:
                break;
            }
            combo->setCurrentIndex(-1);
            m_lists[size_t(row.slot)] = combo;
            w = combo;
            break;
        }
        case Kind::Box: {
            auto *box = new QLineEdit(caption, parent);
            box->setFont(arial);
            if (isDisplayBox(row)) {
                box->setReadOnly(true);
                paint(box, windowText, Qt::cyan);
            } else {
                paint(box, Qt::black, Qt::cyan);
            }
            m_boxes[size_t(row.slot)] = box;
            w = box;
            break;
        }
        case Kind::Picture:
            m_image1 = new QLabel(parent);
            m_image1->setScaledContents(true);
            w = m_image1;
            break;
        case Kind::StatusBar: {
            m_statusBar1 = new QStatusBar(parent);
            m_statusBar1->setSizeGripEnabled(false);
            m_panel1 = new StatusPanel(px(1440), m_statusBar1);
            m_panel1->setObjectName(QStringLiteral("Panel1"));
            m_statusBar1->addWidget(m_panel1, 1);
            w = m_statusBar1;
            break;
        }
        }

        w->setObjectName(name);
        w->setGeometry(geometryOf(row));
        w->setEnabled(row.enabled);
        if (row.tabIndex >= 0 && row.kind != Kind::Frame && row.kind != Kind::StatusBar)
            tabStops.emplace_back(row.tabIndex, w);
        else
            w->setFocusPolicy(Qt::NoFocus);
        byName.insert(name, w);
    }

    // Caption labels name their inputs, also for screen readers.
    for (const ControlRow &row : kControls) {
        if (row.buddyOf) {
            auto *label = static_cast<QLabel *>(byName.value(QString::fromUtf8(row.name)));
            QWidget *input = byName.value(QString::fromUtf8(row.buddyOf));
            label->setBuddy(input);
            input->setAccessibleName(label->text());
        }
    }

    std::sort(tabStops.begin(), tabStops.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
}

void Form1::wireEvents()
{
    for (ListControl l : {ListControl::Combo1, ListControl::Combo2, ListControl::Combo3,
                          ListControl::Combo4}) {
        // A pick raises the click handler even when it names the item that
        // was already selected, so picking a port again reopens it.
        connect(list(l), &QComboBox::activated, this, [this, l] {
            if (l == ListControl::Combo4)
                static_cast<PortList *>(list(l))->refreshForPick();
            raiseListClick(l);
        });
    }
    static_cast<PortList *>(list(ListControl::Combo4))->refresh = [this] { refreshPorts(); };
    connect(m_buttons[0], &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_buttons[1], &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_buttons[2], &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(m_buttons[3], &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(m_buttons[4], &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(m_buttons[5], &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(m_boxes[0], &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(m_boxes[1], &QLineEdit::textChanged, this, &Form1::Text2_Change);
    connect(m_seams.MSComm1.get(), &SerialLink::onComm, this, &Form1::MSComm1_OnComm);
    m_seams.Timer1->onTimer = [this] { Timer1_Timer(); };
    m_seams.Timer2->onTimer = [this] { Timer2_Timer(); };
}

void Form1::raiseListClick(ListControl l)
{
    switch (l) {
    case ListControl::Combo1:
        Combo1_Click();
        break;
    case ListControl::Combo3:
        Combo3_Click();
        break;
    case ListControl::Combo4:
        Combo4_Click();
        break;
    case ListControl::Combo2:
        break; // a new channel rate only matters to the next write
    }
}

// The tooltips show only in the open list, so they are made when it opens.
void Form1::refreshPorts()
{
    if (!m_seams.ports)
        return;
    m_seams.ports->refresh();
    QComboBox *ports = list(ListControl::Combo4);
    for (int i = 0; i < ports->count(); ++i)
        ports->setItemData(i, portTooltip(ports->itemText(i), m_seams.ports->device(i + 1)),
                           Qt::ToolTipRole);
}

// The panel adds the cause to what the boxes say; it replaces none of them.
void Form1::wireStatusPanel()
{
    SerialLink *link = m_seams.MSComm1.get();
    const auto port = [this] { return listText(ListControl::Combo4); };
    const auto sayOpen = [this, link, port] {
        m_panel1->say(describeOpenPort(port(), deviceDetails(m_openDevice), link->settings()));
    };
    connect(link, &SerialLink::opened, this, [this, sayOpen](const QString &device) {
        m_openDevice = device;
        sayOpen();
    });
    // The descriptions come after the first paint; the open port's line
    // then names its device as the system does.
    if (m_seams.ports) {
        connect(m_seams.ports.get(), &PortMap::devicesKnown, this, [link, sayOpen] {
            if (link->portOpen())
                sayOpen();
        });
    }
    connect(link, &SerialLink::openFailed, this, [this, port](const OpenFailure &failure) {
        m_panel1->say(describeOpenFailure(port(), failure));
    });
    connect(link, &SerialLink::linkLost, this, [this, port](const QString &device) {
        m_panel1->say(describeLostPort(port(), device));
    });
}

SerialDevice Form1::deviceDetails(const QString &path) const
{
    if (m_seams.ports)
        return m_seams.ports->details(path);
    SerialDevice bare;
    bare.path = path;
    return bare;
}

QComboBox *Form1::list(ListControl l) const
{
    return m_lists[size_t(l)];
}

QLineEdit *Form1::box(TextControl b) const
{
    return m_boxes[size_t(b)];
}

void Form1::Form_Load()
{
    m_startup->Form_Load();
}

int Form1::listIndex(ListControl l) const
{
    return list(l)->currentIndex();
}

void Form1::setListIndex(ListControl l, int index)
{
    if (list(l)->currentIndex() == index)
        return;
    list(l)->setCurrentIndex(index);
    raiseListClick(l);
}

QString Form1::listText(ListControl l) const
{
    return list(l)->currentText();
}

QString Form1::text(TextControl b) const
{
    return box(b)->text();
}

void Form1::setText(TextControl b, const QString &text)
{
    box(b)->setText(text);
}

void Form1::setRequestButtonsEnabled(bool enabled)
{
    for (size_t i = 0; i < 3; ++i)
        m_buttons[i]->setEnabled(enabled);
}

void Form1::setLamp(Lamp lamp)
{
    m_image1->setPixmap(ImageList1[size_t(int(lamp) - 1)]);
}

void Form1::Combo1_Click()
{
    Combo4_Click();
}

void Form1::Combo3_Click()
{
    Combo4_Click();
}

void Form1::Combo4_Click()
{
    m_startup->Combo4_Click();
}

void Form1::Command1_Click()
{
    m_requests->Command1_Click();
}

void Form1::Command2_Click()
{
    m_requests->Command2_Click();
}

void Form1::Command3_Click()
{
    m_requests->Command3_Click();
}

void Form1::Command4_Click()
{
    m_scan->Command4_Click();
}

void Form1::Command5_Click()
{
    openHelpPage(QCoreApplication::applicationDirPath(), *m_seams.messages, m_seams.openUrl);
}

void Form1::Command6_Click()
{
    showAboutWindow(windowIcon());
}

void Form1::Text1_Change()
{
    applyFrequencyRule(*m_boxes[0], m_state.LastText1);
}

void Form1::Text2_Change()
{
    applyFrequencyRule(*m_boxes[1], m_state.LastText2);
}

void Form1::Timer1_Timer()
{
    m_scan->Timer1_Timer();
}

void Form1::Timer2_Timer()
{
    m_failure->Timer2_Timer();
}

void Form1::MSComm1_OnComm()
{
    m_receive->MSComm1_OnComm();
}
