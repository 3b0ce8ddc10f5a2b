#pragma once
// A window with test seams whose set_up.ini a test writes before start-up.

#include "app/form1.h"
#include "settings/settings_file.h"
#include "support/fake_seams.h"

#include <QFile>
#include <QMap>
#include <QTest>

struct SettingsForm
{
    TestSeams ts;
    QString path = ts.seams.settingsPath;
    std::unique_ptr<Form1> form;

    // Writes the given lines (others empty) as the program would, or no file for an empty map.
    void writeFile(const QMap<int, QString> &lines)
    {
        settings::SetupLines all;
        for (auto it = lines.begin(); it != lines.end(); ++it)
            all[it.key()] = it.value();
        QVERIFY(settings::writeSettingsFile(path, all).ok);
    }

    Form1 &start()
    {
        form = std::make_unique<Form1>(std::move(ts.seams));
        form->Form_Load();
        return *form;
    }

    settings::SetupLines fileLines() const
    {
        settings::SetupLines lines;
        settings::readSettingsFile(path, lines);
        return lines;
    }
};
