// The window's menu after the draw: the copied result, the saved picture, and the next lottery.
#include "support/window.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>

namespace {

// Everything a user can see of each control, by object name.
QStringList controlsSeen(const Window &w)
{
    QStringList seen;
    for (const QWidget *c : w.form->findChildren<QWidget *>()) {
        if (c->objectName().isEmpty() || c->isWindow())
            continue;
        QString text;
        const QPalette &colours = c->palette();
        if (auto *edit = qobject_cast<const QLineEdit *>(c))
            text = QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(edit->text())
                       .arg(edit->isReadOnly())
                       .arg(edit->maxLength())
                       .arg(colours.color(QPalette::Base).name(), colours.color(QPalette::Text).name());
        else if (auto *button = qobject_cast<const QAbstractButton *>(c))
            text = button->text() + c->styleSheet() + colours.color(QPalette::Button).name();
        else if (auto *label = qobject_cast<const QLabel *>(c))
            text = label->text();
        else if (auto *frame = qobject_cast<const QGroupBox *>(c))
            text = frame->title();
        seen << QStringLiteral("%1 %2 visible=%3 enabled=%4 %5")
                    .arg(c->objectName(), text)
                    .arg(w.shown(const_cast<QWidget *>(c)))
                    .arg(c->isEnabled())
                    .arg(colours.color(QPalette::WindowText).name());
    }
    seen.sort();
    return seen;
}

// The controls as objects, each with the object a screen reader knows it by.
QList<std::pair<QWidget *, QAccessible::Id>> controlObjects(const Window &w)
{
    QList<std::pair<QWidget *, QAccessible::Id>> objects;
    for (QWidget *c : w.form->findChildren<QWidget *>()) {
        if (!c->objectName().isEmpty() && !c->isWindow())
            objects.append({c, QAccessible::uniqueId(QAccessible::queryAccessibleInterface(c))});
    }
    return objects;
}

// The group's participant count and names as set_up.ini holds them.
QStringList groupList(const Window &w)
{
    const settings::SetupLines lines = w.fileLines();
    QStringList list{lines[settings::participantCountLine(1)]};
    for (int i = 0; i < kBoxCount; ++i)
        list << lines[settings::nameLine(1, i)];
    return list;
}

// Shows the window and waits until it is the active one, as the keyboard needs.
bool shownActive(Window &w)
{
    w.form->show();
    w.form->activateWindow();
    return QTest::qWaitForWindowActive(w.form.get());
}

// The text "結果をコピー" leaves on a cleared clipboard.
QString copied(Window &w)
{
    QGuiApplication::clipboard()->clear();
    w.entry("mnu_copy")->trigger();
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TestWindowMenu : public QObject
{
    Q_OBJECT

private slots:
    // Opened from the keyboard, the window's menu has a name, its first usable entry is
    // highlighted, and a screen reader hears which entry can be checked.
    void menuFromTheKeyboard()
    {
        Window w;
        w.start();
        QVERIFY(shownActive(w));
        w.nameBox(0)->setFocus();
        QTest::keyClick(w.nameBox(0), Qt::Key_F10, Qt::ShiftModifier);
        auto *menu = w.form->findChild<QMenu *>("windowMenu");
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QVERIFY(!menu->accessibleName().isEmpty());
        QAction *first = nullptr;
        for (QAction *entry : menu->actions())
            if (!first && entry->isEnabled() && !entry->isSeparator())
                first = entry;
        QCOMPARE(menu->activeAction(), first);
        QAccessibleInterface *items = QAccessible::queryAccessibleInterface(menu);
        for (int i = 0; i < items->childCount(); ++i) {
            QAccessibleInterface *item = items->child(i);
            const QAction *entry = menu->actions().value(i);
            QVERIFY(entry);
            QCOMPARE(bool(item->state().checkable), entry->isCheckable());
        }
        menu->close();
    }

    void copiedText_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("winners");
        QTest::addColumn<QString>("memo");
        QTest::newRow("winner mode, 2 of 6") << kWinnerMode << 6 << 2 << QStringLiteral("忘年会");
        QTest::newRow("lottery mode, 5") << kLotteryMode << 5 << 1 << QString();
        QTest::newRow("number mode, 37") << kNumberMode << 37 << 1 << QStringLiteral("席替え");
    }

    // One line per participant in name-box order, and each says what the window shows for them.
    void copiedText()
    {
        QFETCH(int, mode);
        QFETCH(int, count);
        QFETCH(int, winners);
        QFETCH(QString, memo);
        Window w(7);
        QVERIFY(w.prepare(mode, count, winners));
        w.memo()->setText(memo);
        QVERIFY(w.standby());
        QVERIFY2(copied(w).isEmpty(), "copied before every path was traced");

        w.traceAll();
        QStringList lines = copied(w).split(QLatin1Char('\n'));
        QCOMPARE(lines.takeLast(), QString());
        // The last line carries the commitment's whole hash.
        QVERIFY2(lines.takeLast().contains(QRegularExpression(QStringLiteral(" [0-9a-f]{64}$"))), qPrintable(lines.join('\n')));
        QCOMPARE(lines.size(), count + 1);
        const QString heading = lines.takeFirst();
        QVERIFY2(memo.isEmpty() ? !heading.startsWith(QLatin1Char(' ')) : heading.startsWith(memo + QLatin1Char(' ')),
                 qPrintable(heading));
        QVERIFY2(heading.contains(QRegularExpression(QStringLiteral("\\d{1,2}:\\d\\d:\\d\\d"))), qPrintable(heading));

        QStringList reached;
        for (int i = 0; i < count; ++i) {
            const QString prefix = QStringLiteral("N%1 \uFF1A").arg(i);
            QVERIFY2(lines[i].startsWith(prefix), qPrintable(lines[i]));
            const QString what = lines[i].mid(prefix.size());
            reached << what;
            // The prize box that shows this participant's name shows what the line says.
            int showing = 0;
            for (int row = 0; row < count; ++row)
                showing += w.prizeBox(row)->text() == (what == QStringLiteral("はずれ") ? QString() : what)
                        + QStringLiteral(" \uFF1AN%1").arg(i);
            QCOMPARE(showing, 1);
        }
        QStringList expected;
        for (int i = 0; i < count; ++i) {
            if (mode == kWinnerMode)
                expected << (i < winners ? QStringLiteral("あたり") : QStringLiteral("はずれ"));
            else
                expected << (mode == kLotteryMode ? QStringLiteral("P%1").arg(i) : QString::number(i + 1));
        }
        std::sort(reached.begin(), reached.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(reached, expected);
    }

    // The picture holds the window at the screen's full resolution (run at scale factors 1 and 2).
    void savedPicture()
    {
        Window w;
        QVERIFY(w.prepare(kNumberMode, 4));
        QVERIFY(w.standby());
        w.traceAll();
        const QByteArray settings = w.written();
        const QSize windowSize = w.form->size();
        w.ts.saveDialog->chosen = w.ts.folder.filePath(QStringLiteral("result.png"));
        w.entry("mnu_save")->trigger();

        QCOMPARE(w.ts.saveDialog->proposed.size(), 1);
        QVERIFY(w.ts.saveDialog->proposed.first().contains(QRegularExpression(QStringLiteral("/あみだくじ_\\d{8}_\\d{6}\\.png$"))));
        const QImage saved(w.ts.saveDialog->chosen);
        QVERIFY(!saved.isNull());
        // The picture has the printed size; the window keeps its own.
        const QSize printSize(twipsToPixels(9705), twipsToPixels(360 * 4 + 1380));
        QCOMPARE(saved.size(), printSize * w.form->devicePixelRatio());
        QCOMPARE(w.form->size(), windowSize);
        w.form->resize(printSize);
        const QImage shown = w.form->grab().toImage().convertToFormat(saved.format());
        QImage pixels = saved;
        pixels.setDevicePixelRatio(shown.devicePixelRatio());
        QCOMPARE(pixels, shown);
        QVERIFY(w.messages().isEmpty());
        QCOMPARE(w.written(), settings);

        w.ts.saveDialog->chosen = w.ts.folder.filePath(QStringLiteral("missing/result.png"));
        w.entry("mnu_save")->trigger();
        QCOMPARE(w.messages().size(), 1);
        QVERIFY(w.messages().first().contains(QDir::toNativeSeparators(w.ts.saveDialog->chosen)));
    }

    // "次の抽選" leaves the window exactly as a new start from the same set_up.ini opens it, on
    // the same controls, with the keyboard at the first name.
    void nextLotteryIsAFreshStart_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("traceAll");
        QTest::addColumn<bool>("answer");
        // What was done with the result first: printing widens the window.
        QTest::addColumn<QString>("output");
        QTest::newRow("winner mode, all traced") << kWinnerMode << true << true << QString();
        QTest::newRow("lottery mode, asked, yes") << kLotteryMode << false << true << QString();
        QTest::newRow("number mode, asked, no") << kNumberMode << false << false << QString();
        QTest::newRow("winner mode, printing cancelled") << kWinnerMode << true << true << "mnu_print";
        QTest::newRow("lottery mode, picture saved") << kLotteryMode << true << true << "mnu_save";
    }

    void nextLotteryIsAFreshStart()
    {
        QFETCH(int, mode);
        QFETCH(bool, traceAll);
        QFETCH(bool, answer);
        QFETCH(QString, output);
        Window w(3);
        QVERIFY(w.prepare(mode, 5, 2));
        QVERIFY(w.standby());
        if (traceAll)
            w.traceAll();
        if (output == QStringLiteral("mnu_print"))
            w.button("cmd_print")->click();
        if (output == QStringLiteral("mnu_save")) {
            w.ts.saveDialog->chosen = w.ts.folder.filePath(QStringLiteral("result.png"));
            w.entry("mnu_save")->trigger();
        }
        QVERIFY(shownActive(w));
        const QByteArray settings = w.written();
        const QStringList before = controlsSeen(w);
        const QList<std::pair<QWidget *, QAccessible::Id>> objects = controlObjects(w);
        w.ts.messenger->answer = answer;
        w.entry("mnu_next")->trigger();
        QCOMPARE(controlObjects(w), objects);

        QCOMPARE(w.ts.messenger->asked.size(), traceAll ? 0 : 1);
        QCOMPARE(w.written(), settings);
        if (!answer) {
            QCOMPARE(controlsSeen(w), before);
            return;
        }
        Window fresh(3);
        QVERIFY(fresh.writeFile(settings));
        fresh.start();
        QCOMPARE(controlsSeen(w), controlsSeen(fresh));
        QVERIFY(shownActive(fresh));
        QCOMPARE(w.form->size(), fresh.form->size());
        // The keyboard is where the next step is: the first name.
        QCOMPARE(w.form->focusWidget(), w.nameBox(0));
        QVERIFY(w.button("cmd_standby")->isEnabled());
        // And the next lottery runs as the first did.
        w.fillEntries();
        QVERIFY(w.standby());
    }

    // Rows: the participant count, the winner count of each round, and whether one more round
    // can be drawn at the end (28 left; only 1 left).
    void roundsOfNonWinners_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("winners");
        QTest::addColumn<bool>("roundLeft");
        QTest::newRow("3 of 37, then of 34, then of 31") << 37 << QList{3, 3, 3} << true;
        QTest::newRow("2 of 4, then 1 of 2, then none") << 4 << QList{2, 1} << false;
    }

    // "はずれの人で次の抽選" (Ctrl+Shift+R) draws among those the copied result calls はずれ, in
    // their order; the stamp and the copied text name the round; set_up.ini keeps the whole list.
    void roundsOfNonWinners()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, winners);
        QFETCH(bool, roundLeft);
        Window w(11);
        QVERIFY(w.prepare(kWinnerMode, count, winners[0]));
        w.memo()->setText(QStringLiteral("忘年会"));
        QVERIFY(shownActive(w));
        QVERIFY(w.standby());
        const QStringList whole = groupList(w);
        QStringList missed;
        for (int round = 1; round <= winners.size(); ++round) {
            if (round > 1) {
                QTest::keyClick(w.form.get(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
                QCOMPARE(w.participants(), missed.size());
                for (int i = 0; i < missed.size(); ++i)
                    QCOMPARE(w.nameBox(i)->text(), missed[i]);
                QVERIFY(w.standby());
            }
            QVERIFY(!w.entry("mnu_round")->isEnabled());
            w.traceAll();
            QStringList lines = copied(w).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            const QString stamp = lines.takeFirst().mid(QStringLiteral("忘年会 ").size());
            QCOMPARE(stamp.startsWith(QStringLiteral("第%1回 ").arg(round)), round > 1);
            QCOMPARE(groupList(w), whole);
            missed.clear();
            for (const QString &line : lines) {
                if (line.endsWith(QStringLiteral(" \uFF1Aはずれ")))
                    missed << line.section(QStringLiteral(" \uFF1A"), 0, 0);
            }
            QCOMPARE(missed.size(), w.participants() - winners[round - 1]);
        }
        // No round with fewer than two left; the next lottery is the whole list again.
        QCOMPARE(w.entry("mnu_round")->isEnabled(), roundLeft);
        if (!roundLeft) {
            const int shownCount = w.participants();
            QTest::keyClick(w.form.get(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(w.participants(), shownCount);
            QVERIFY(!w.button("cmd_standby")->isEnabled());
        }
        w.entry("mnu_next")->trigger();
        QCOMPARE(w.participants(), count);
    }

    // 音 shows the user's choice from view.ini; a click turns it over for the next window, never in set_up.ini.
    void soundEntry()
    {
        Window w;
        QSettings(QSettings::IniFormat, QSettings::UserScope, "amidakuji", "view").setValue("sound", false);
        w.start();
        QAction *sound = w.entry("mnu_sound");
        QVERIFY(sound->isCheckable() && !sound->isChecked());
        const QByteArray settingsFile = w.written();
        sound->trigger();
        QVERIFY(sound->isChecked());
        QCOMPARE(w.written(), settingsFile);
        Window next;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, w.ts.folder.path());
        next.start();
        QVERIFY(next.entry("mnu_sound")->isChecked());
    }

    // Rows: the entry and its shortcut. A look at the menu while the entries were unavailable
    // does not leave their shortcuts dead once the lottery is over.
    void shortcutsWorkAfterAnEarlyLook_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::newRow("copy") << QStringLiteral("mnu_copy") << int(Qt::Key_C);
        QTest::newRow("save") << QStringLiteral("mnu_save") << int(Qt::Key_S);
        QTest::newRow("next") << QStringLiteral("mnu_next") << int(Qt::Key_N);
    }

    void shortcutsWorkAfterAnEarlyLook()
    {
        QFETCH(QString, name);
        QFETCH(int, key);
        Window w;
        QVERIFY(w.prepare(kNumberMode, 3));
        QVERIFY(shownActive(w));
        auto *menu = w.form->findChild<QMenu *>(QStringLiteral("windowMenu"));
        menu->popup(w.form->mapToGlobal(QPoint(10, 10)));
        menu->close();
        QAction *action = w.form->findChild<QAction *>(name);
        QVERIFY(!action->isEnabled());
        QSignalSpy triggered(action, &QAction::triggered);

        QVERIFY(w.standby());
        w.traceAll();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(w.form.get(), Qt::Key(key), Qt::ControlModifier | Qt::ShiftModifier);

        QCOMPARE(triggered.size(), 1);
        if (name == QStringLiteral("mnu_copy"))
            QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("N2 \uFF1A")));
    }
};

QTEST_MAIN(TestWindowMenu)
#include "tst_window_menu.moc"
