// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The status picker: a drop-down list of the three status texts whose position is the status
// code, -1 when nothing is chosen. It is never typed into. With icons, each item shows its
// status icon at x = 5 and its text from x = 21, the highlight covering the text only; without,
// the texts alone, 2 pixels from the left.

#include <QComboBox>

class StatusPicker : public QComboBox
{
    Q_OBJECT
    // Off for a picker that shows its texts alone; a window layout states it.
    Q_PROPERTY(bool paintsIcons READ paintsIcons WRITE setPaintsIcons)

public:
    static constexpr int ItemHeight = 16;

    explicit StatusPicker(QWidget* parent = nullptr);

    void setPaintsIcons(bool paintsIcons);
    bool paintsIcons() const { return m_paintsIcons; }

    // The chosen status code, or -1. Any number outside 0..2 chooses nothing.
    int statusCode() const { return currentIndex(); }
    void setStatusCode(int code);

    // Paints item `index` into the item rectangle on a surface whose x = 0 is the control's
    // (or the open list's) left edge.
    void DrawItem(QPainter& painter, int index, const QRect& itemRect, bool selected,
                  bool focused) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_paintsIcons = true;
};
