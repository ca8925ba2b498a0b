// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A picture box: shows a picture (platform/picture.h) stretched over the whole box in both
// directions. Where the picture draws nothing, the window's colour shows.

#include "platform/pictures/picture.h"

#include <QWidget>

class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    const Picture& picture() const { return m_picture; }
    void setPicture(const Picture& picture);

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Picture m_picture;
};
