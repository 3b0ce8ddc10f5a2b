#include "form1.h"
#include "units.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QTimer>

// The client area is wide enough for the prize column (right edge at 9495 twips).
constexpr int kClientWidthTwips = 9585;

Form1::Form1(Seams seamsIn, QWidget *parent)
    : QWidget(parent)
    , surface(QSize(twipsToPixels(kClientWidthTwips), twipsToPixels(14700)), devicePixelRatioF())
    , seams(std::move(seamsIn))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("◆Vornikel◆あみだくじ２"));
    setFont(programFont(9));
    resize(twipsToPixels(kClientWidthTwips), twipsToPixels(2100));
    createControls();
    setTabOrder();
    wireEvents();
}

Form1::~Form1() = default;

void Form1::wireEvents()
{
    onClick(cmd_make, &Form1::cmd_make_Click);
}

void Form1::onClick(QAbstractButton *button, void (Form1::*handler)())
{
    connect(button, &QAbstractButton::clicked, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    return QWidget::eventFilter(watched, event);
}

void Form1::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(QPoint(0, 0), surface.image());
}

void Form1::resizeEvent(QResizeEvent *event)
{
    surface.ensureSize(size(), devicePixelRatioF());
    QWidget::resizeEvent(event);
}

void Form1::showMessage(const QString &text)
{
    seams.messenger->show(this, text);
}

int Form1::frameExtraWidth() const
{
    return testAttribute(Qt::WA_Mapped) ? frameGeometry().width() - width() : 0;
}

int Form1::frameExtraHeight() const
{
    return testAttribute(Qt::WA_Mapped) ? frameGeometry().height() - height() : 0;
}

int Form1::leftTwips() const
{
    return int(pixelsToTwips(frameGeometry().x()));
}

int Form1::topTwips() const
{
    return int(pixelsToTwips(frameGeometry().y()));
}

void Form1::moveTwips(double left, double top)
{
    move(twipsToPixels(left), twipsToPixels(top));
}

void Form1::setOuterWidthTwips(int width)
{
    resize(qMax(1, twipsToPixels(width) - frameExtraWidth()), height());
}

void Form1::setOuterHeightTwips(int height)
{
    resize(width(), qMax(1, twipsToPixels(height) - frameExtraHeight()));
}

int Form1::outerHeightTwips() const
{
    return int(pixelsToTwips(height() + frameExtraHeight()));
}

static QColor systemColor(const QWidget *control, uint32_t color)
{
    const QPalette standard = QApplication::palette(control);
    return standard.color(color == kSystemButtonFace ? QPalette::Button : QPalette::Base);
}

// Styles shade a button's palette colour (Fusion pales it), so a coloured button gets a style
// sheet that fills it with exactly its colour; a system colour gives back the ordinary look.
static QString colouredButtonSheet(const QColor &color)
{
    return QStringLiteral("QPushButton { background-color: %1; border: 1px solid #707070;"
                          " border-radius: 3px; padding: 1px 4px; }"
                          "QPushButton:pressed { background-color: %2; }"
                          "QPushButton:focus { border: 1px solid #303030; }")
        .arg(color.name(), color.darker(115).name());
}

void Form1::setBackColor(QWidget *control, uint32_t color)
{
    const bool system = color & 0x80000000u;
    const QColor value = system ? systemColor(control, color) : colorFromBgr(color);
    const bool isButton = qobject_cast<QAbstractButton *>(control);
    QPalette palette = control->palette();
    palette.setColor(isButton ? QPalette::Button : QPalette::Base, value);
    control->setPalette(palette);
    if (isButton)
        control->setStyleSheet(system ? QString() : colouredButtonSheet(value));
}

void Form1::setTextColor(QWidget *control, uint32_t color)
{
    QPalette palette = control->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, colorFromBgr(color));
    control->setPalette(palette);
}
