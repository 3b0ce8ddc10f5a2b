#pragma once
// A window with test seams and the counts and mode a test starts from.

#include "app/form1.h"
#include "support/fake_seams.h"

#include <QLineEdit>

struct EntryForm
{
    TestSeams ts;
    Form1 form{std::move(ts.seams)};

    EntryForm(int16_t manCount, int16_t atariCount, int16_t drawMode)
    {
        form.st.line_top = 720;
        form.st.color_table = kColorTable;
        form.st.man_count = manCount;
        form.st.atari_count = atariCount;
        form.st.draw_mode = drawMode;
    }

    // Number of boxes of a column that would be shown with the window.
    int shown(const std::array<QLineEdit *, Form1::BoxCount> &column) const
    {
        int count = 0;
        for (QLineEdit *box : column)
            count += box->isVisibleTo(&form) ? 1 : 0;
        return count;
    }

    // True when exactly boxes 0..count - 1 of a column are shown.
    bool showsFirst(const std::array<QLineEdit *, Form1::BoxCount> &column, int count) const
    {
        for (int i = 0; i < Form1::BoxCount; ++i) {
            if (column[i]->isVisibleTo(&form) != (i < count))
                return false;
        }
        return true;
    }
};
