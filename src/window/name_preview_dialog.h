#pragma once
// "名簿の読み込み": the names read from a file, with the file's line numbers and what needs a
// look, before they go into the name boxes.

#include "names/name_list.h"

#include <QDialog>
#include <QStringList>

class NamePreviewDialog : public QDialog
{
    Q_OBJECT

public:
    NamePreviewDialog(const QString &path, const names::NameListRead &read, QWidget *parent = nullptr);

    // What the preview says of each name, as its last column shows it ("" when all is well).
    static QStringList notes(const names::NameListRead &read);
    // The same for one name, given its marks.
    static QString note(const QString &name, const names::NameMarks &marks);
};
