// Zoom and full screen: the controls, their fonts and the drawing where the twips put them at
// each scale, the zoom remembered per user and kept on the screen, full screen on the screen the
// test runs on (registered at 3840 × 2160 and at 1920 × 1080), and the picture as at 100 %.
#include "settings/layout.h"
#include "support/window.h"

#include <QAccessible>
#include <QScreen>
#include <QSettings>

namespace {

QSettings zoomSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("amidakuji"), QStringLiteral("view"));
}

// The first black row at column x from row `from` down: the ladder's top line.
int firstBlackRow(const QImage &image, int x, int from)
{
    for (int y = from; y < image.height(); ++y) {
        if (image.pixelColor(x, y) == Qt::black)
            return y;
    }
    return -1;
}

// A window opening on a group of `count` named participants, N0.. in number mode.
bool startNamed(Window &w, int count)
{
    Lines lines{{settings::participantCountLine(1), QString::number(count)}, {settings::kModeLine, QStringLiteral("1")}};
    for (int i = 0; i < count; ++i)
        lines[settings::nameLine(1, i)] = QStringLiteral("N%1").arg(i);
    if (!w.writeLines(lines))
        return false;
    w.start();
    return w.mode() == kNumberMode && w.participants() == count;
}

} // namespace

class TestView : public QObject
{
    Q_OBJECT

private slots:
    // Ctrl++ steps through the zooms; the third name box, its font, the window's width and the
    // ladder's top line are where the twips put them at that scale, and screen readers are told so.
    void zoomLaysOutEveryControl_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<double>("pointSize");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("lineRow");
        QTest::newRow("100 %") << 0 << 100 << QRect(8, 112, 81, 18) << 9.0 << 639 << 72;
        QTest::newRow("125 %") << 1 << 125 << QRect(10, 140, 101, 23) << 11.25 << 799 << 90;
        QTest::newRow("150 %") << 2 << 150 << QRect(12, 168, 122, 27) << 13.5 << 959 << 107;
        QTest::newRow("200 %") << 4 << 200 << QRect(16, 224, 162, 36) << 18.0 << 1278 << 143;
        QTest::newRow("300 %") << 6 << 300 << QRect(24, 336, 243, 54) << 27.0 << 1917 << 215;
        QTest::newRow("past 300 %") << 8 << 300 << QRect(24, 336, 243, 54) << 27.0 << 1917 << 215;
    }

    void zoomLaysOutEveryControl()
    {
        QFETCH(int, steps);
        QFETCH(int, percent);
        QFETCH(QRect, box);
        QFETCH(double, pointSize);
        QFETCH(int, width);
        QFETCH(int, lineRow);
        Window w;
        QVERIFY(startNamed(w, 5));
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        const QByteArray settingsFile = w.written();
        for (int i = 0; i < steps; ++i)
            w.entry("mnu_zoomIn")->trigger();

        QCOMPARE(w.nameBox(2)->geometry(), box);
        QCOMPARE(w.nameBox(2)->font().pointSizeF(), pointSize);
        QCOMPARE(w.form->width(), width);
        const int column = box.right() + box.width() / 2;
        QCOMPARE(firstBlackRow(w.picture(), column, box.top() / 2), lineRow);
        QAccessibleInterface *reported = QAccessible::queryAccessibleInterface(w.nameBox(2));
        QCOMPARE(reported->rect(), QRect(w.form->mapToGlobal(box.topLeft()), box.size()));
        QCOMPARE(w.entry("mnu_zoomIn")->isEnabled(), percent < 300);
        QCOMPARE(w.entry("mnu_zoomReset")->isEnabled(), percent > 100);
        QCOMPARE(zoomSettings().value("zoom", 100).toInt(), percent);
        QCOMPARE(w.written(), settingsFile); // set_up.ini is not the zoom's

        w.entry("mnu_zoomReset")->trigger();
        QCOMPARE(w.nameBox(2)->geometry(), QRect(8, 112, 81, 18));
        QCOMPARE(w.form->width(), 639);
    }

    // The zoom chosen last opens the next window, as far as the screen (3840 × 2160) holds it.
    void rememberedZoomOpens_data()
    {
        QTest::addColumn<QVariant>("remembered");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("width");
        QTest::newRow("none") << QVariant() << 5 << 639;
        QTest::newRow("250 %") << QVariant(250) << 5 << 1598;
        QTest::newRow("300 %, 37 names: 200 %") << QVariant(300) << 37 << 1278;
        QTest::newRow("not a step") << QVariant(130) << 5 << 639;
    }

    void rememberedZoomOpens()
    {
        QFETCH(QVariant, remembered);
        QFETCH(int, count);
        QFETCH(int, width);
        Window w;
        if (remembered.isValid())
            zoomSettings().setValue("zoom", remembered);
        QVERIFY(startNamed(w, count));
        QCOMPARE(w.form->width(), width);
    }

    // F11 fills the screen with the window's contents, proportions kept, centred; standby and a
    // click on a name work there, the position saved is the window's own, and Esc brings the
    // window back as it was.
    void fullScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QRect>("firstName");
        QTest::addColumn<QRect>("fourthName");
        QTest::addColumn<QRect>("fifthPrize");
        QTest::newRow("1920 × 1080") << QSize(1920, 1080) << QRect(24, 419, 243, 54) << QRect(24, 636, 243, 54)
                                      << QRect(1418, 708, 484, 54);
        QTest::newRow("3840 × 2160") << QSize(3840, 2160) << QRect(48, 840, 487, 108) << QRect(48, 1272, 487, 108)
                                      << QRect(2836, 1417, 968, 108);
    }

    void fullScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(QRect, firstName);
        QFETCH(QRect, fourthName);
        QFETCH(QRect, fifthPrize);
        if (QGuiApplication::primaryScreen()->size() != screen)
            QSKIP("this row runs on a screen of its size");
        Window w;
        QVERIFY(startNamed(w, 5));
        w.form->move(200, 100);
        w.form->show();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        const QRect normal = w.form->geometry();
        const QPoint framePosition = w.form->frameGeometry().topLeft();

        w.entry("mnu_fullScreen")->trigger();
        QTRY_COMPARE(w.form->geometry(), QRect(QPoint(), screen));
        QVERIFY(w.entry("mnu_fullScreen")->isChecked());
        QVERIFY(!w.entry("mnu_zoomIn")->isEnabled());
        QCOMPARE(w.nameBox(0)->geometry(), firstName);
        QCOMPARE(w.prizeBox(4)->geometry(), fifthPrize);
        QVERIFY(w.standby());
        const settings::SetupLines saved = w.fileLines();
        QCOMPARE(saved[settings::kWindowLeftLine], QString::number(framePosition.x() * 15));
        QCOMPARE(saved[settings::kWindowTopLine], QString::number(framePosition.y() * 15));

        // The fourth name box, where full screen draws it, traces the fourth participant.
        const QPoint centre = fourthName.center();
        QWidget *hit = w.form->childAt(centre);
        QCOMPARE(hit, w.nameBox(3));
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(w.form.get(), centre));
        // In full screen the path runs down the ladder; a second click on its name ends it at once.
        QVERIFY(w.entry("mnu_show")->isChecked());
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(w.form.get(), centre));
        QStringList prizes;
        for (int i = 0; i < 5; ++i)
            prizes << w.prizeBox(i)->text();
        QCOMPARE(prizes.filter(QStringLiteral("N")).size(), 1);
        QCOMPARE(prizes.filter(QStringLiteral("N3")).size(), 1);

        QTest::keyClick(w.nameBox(3), Qt::Key_Escape);
        QTRY_COMPARE(w.form->geometry(), normal);
        QVERIFY(!w.entry("mnu_fullScreen")->isChecked());
        QCOMPARE(w.nameBox(0)->geometry(), QRect(8, 64, 81, 18));
    }

    // The saved picture is the one 100 % gives, at any zoom and in full screen.
    void pictureAsAt100_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("times");
        QTest::newRow("200 %") << "mnu_zoomIn" << 4;
        QTest::newRow("full screen") << "mnu_fullScreen" << 1;
    }

    void pictureAsAt100()
    {
        QFETCH(QString, entry);
        QFETCH(int, times);
        Window w;
        QVERIFY(startNamed(w, 5));
        QVERIFY(w.standby());
        w.traceAll();
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        const auto save = [&w](const QString &name) {
            w.ts.saveDialog->chosen = w.ts.folder.filePath(name);
            w.entry("mnu_save")->trigger();
            return QImage(w.ts.saveDialog->chosen);
        };
        const QImage atActualSize = save(QStringLiteral("100.png"));
        const QSize windowSize = w.form->size();
        for (int i = 0; i < times; ++i)
            w.entry(qPrintable(entry))->trigger();
        QTRY_VERIFY(w.form->width() >= 2 * windowSize.width());
        const QImage zoomed = save(QStringLiteral("zoomed.png"));

        QVERIFY(!atActualSize.isNull());
        QCOMPARE(zoomed, atActualSize);
        QVERIFY(w.form->width() >= 2 * windowSize.width());
        QVERIFY(w.messages().isEmpty());
    }
};

QTEST_MAIN(TestView)
#include "tst_view.moc"
