// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/editors/status_picker.h"

#include "forms/common/image_list.h"
#include "forms/common/readable_colours.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace
{

// The open list's items, painted by the picker itself.
class ItemDelegate : public QStyledItemDelegate
{
public:
    explicit ItemDelegate(StatusPicker* picker) : QStyledItemDelegate(picker), m_picker(picker) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        m_picker->DrawItem(*painter, index.row(), option.rect,
                           option.state & QStyle::State_Selected,
                           option.state & QStyle::State_HasFocus);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), StatusPicker::ItemHeight};
    }

private:
    StatusPicker* m_picker;
};

} // namespace

StatusPicker::StatusPicker(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    addItems({QStringLiteral("The file is Working properly"),
              QStringLiteral("The file is Not Working"), QStringLiteral("The file is Not Tested")});
    setCurrentIndex(-1);
    setItemDelegate(new ItemDelegate(this));
    view()->setTextElideMode(Qt::ElideNone);
}

void StatusPicker::setPaintsIcons(bool paintsIcons)
{
    m_paintsIcons = paintsIcons;
    update();
}

void StatusPicker::setStatusCode(int code)
{
    setCurrentIndex(code >= 0 && code < count() ? code : -1);
}

void StatusPicker::DrawItem(QPainter& painter, int index, const QRect& itemRect, bool selected,
                            bool focused) const
{
    const QPalette& colours = palette();
    const QColor background =
        selected ? colours.color(QPalette::Highlight) : colours.color(QPalette::Base);
    const QColor text = selected ? colours.color(QPalette::HighlightedText)
                                 : ReadableColours::On(Qt::black, background);

    QRect textArea = itemRect;
    if (m_paintsIcons)
        textArea.setLeft(itemRect.left() + itemRect.height() + 5); // the icon's strip is not filled
    painter.fillRect(textArea, background);
    if (index >= 0) {
        painter.save();
        painter.setClipRect(textArea);
        painter.setPen(text);
        painter.setFont(font());
        const QRect textRect = m_paintsIcons ? textArea : textArea.adjusted(2, 0, 0, 0);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop, itemText(index));
        painter.restore();
        if (m_paintsIcons) {
            const QPixmap icon = ImageList1::Icon(index).pixmap(16, 16);
            painter.drawPixmap(QRect(5, itemRect.top(), 16, 16), icon);
        }
    }
    if (focused) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = itemRect;
        option.backgroundColor = background;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void StatusPicker::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);

    // The selection field of the closed control: an item 16 pixels high, shown as selected
    // while the control has the focus.
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QRect itemRect(field.left(), field.top() + (field.height() - ItemHeight) / 2,
                         field.width(), ItemHeight);
    const bool selected = hasFocus() && currentIndex() >= 0;
    if (currentIndex() < 0)
        painter.fillRect(itemRect, palette().color(QPalette::Base));
    else
        DrawItem(painter, currentIndex(), itemRect, selected, false);
}
