// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/schematic/scheme.h"
#include "ui_scheme.h"

#include "forms/common/handlers.h"
#include "forms/common/remembered_place.h"
#include "forms/common/save_dialog.h"
#include "forms/common/text.h"
#include "forms/common/window_setup.h"
#include "forms/schematic/default_printer.h"
#include "platform/pictures/picture.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <algorithm>
#include <stdexcept>

To_fScheme* o_fScheme = nullptr;

namespace
{

// The outer size, frame included, when the window is first shown; later it comes back where
// the user left it.
constexpr QSize FirstFrameSize(419, 333);

} // namespace

To_fScheme::To_fScheme(QWidget* parent) : QWidget(parent, Qt::Window), m_ui(new Ui::To_fScheme)
{
    m_ui->setupUi(this);
    RememberedPlace::Keep(this, QStringLiteral("SchematicWindow"), FirstFrameSize);
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_popupMenu->addActions({m_ui->Printscheme1, m_ui->PrinttoPDF1, m_ui->N1, m_ui->exit1});

    using Handlers::Guard;
    connect(m_ui->Image1, &QWidget::customContextMenuRequested, this,
            Guard([this](const QPoint& at) { m_popupMenu->popup(m_ui->Image1->mapToGlobal(at)); }));
    connect(m_ui->Printscheme1, &QAction::triggered, this,
            Guard(this, &To_fScheme::Printscheme1Click));
    connect(m_ui->PrinttoPDF1, &QAction::triggered, this,
            Guard(this, &To_fScheme::PrinttoPDF1Click));
    connect(m_ui->exit1, &QAction::triggered, this, Guard(this, &To_fScheme::exit1Click));
}

To_fScheme::~To_fScheme() = default;

void To_fScheme::ShowPicture(const Picture& picture, QWidget* fromDialog, const std::string& group)
{
    m_ui->Image1->setPicture(picture);
    m_group = group;
    if (!isVisible()) {
        // A window of the open dialog, as far as modality goes, until the dialog closes.
        if (fromDialog && fromDialog->isVisible() && fromDialog->isModal()) {
            winId(); // the native window, to give it its transient parent
            windowHandle()->setTransientParent(fromDialog->windowHandle());
            m_besideDialog = fromDialog;
            fromDialog->installEventFilter(this);
        }
        show(); // where it was left
        // Never over the dialog it is shown from.
        if (m_besideDialog && frameGeometry().intersects(m_besideDialog->frameGeometry()))
            placeBeside(m_besideDialog);
    }
    raise();
    activateWindow();
}

bool To_fScheme::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_besideDialog && event->type() == QEvent::Hide) {
        watched->removeEventFilter(this);
        m_besideDialog = nullptr;
        if (QWindow* window = windowHandle())
            window->setTransientParent(nullptr);
    }
    return QWidget::eventFilter(watched, event);
}

void To_fScheme::placeBeside(const QWidget* dialog)
{
    const QScreen* screen = dialog->screen();
    if (!screen)
        return;
    // On the dialog's right where the screen has room, else on its left, else on the side with
    // more room, as far from the dialog as the screen allows.
    const QRect room = screen->availableGeometry();
    const QRect beside = dialog->frameGeometry();
    const QMargins margins = WindowSetup::FrameMargins(this);
    QRect frame = geometry().marginsAdded(margins);
    const bool right = beside.right() + frame.width() < room.right() ||
                       room.right() - beside.right() >= beside.left() - room.left();
    if (right)
        frame.moveLeft(std::min(beside.right() + 1, room.right() + 1 - frame.width()));
    else
        frame.moveRight(std::max(beside.left() - 1, room.left() + frame.width() - 1));
    frame.moveTop(std::clamp(beside.top(), room.top(),
                             std::max(room.top(), room.bottom() + 1 - frame.height())));
    setGeometry(frame.marginsRemoved(margins));
}

void To_fScheme::print(QPrinter& printer, const std::string& failure)
{
    const QString group = fromBytes(m_group);
    printer.setDocName(group); // a PDF's title
    printer.setCreator(QApplication::applicationName());
    // Margins of at least half an inch, where the printer's own are smaller.
    const QMarginsF own = printer.pageLayout().margins(QPageLayout::Point);
    constexpr qreal HalfInch = 36;
    printer.setPageMargins(QMarginsF(std::max(own.left(), HalfInch), std::max(own.top(), HalfInch),
                                     std::max(own.right(), HalfInch),
                                     std::max(own.bottom(), HalfInch)),
                           QPageLayout::Point);
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error(failure);
    // The printable area, in the painter's coordinates, whose origin is its top left corner.
    const QRectF area(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    QRectF room = area;
    if (!group.isEmpty()) {
        QFont font = this->font();
        font.setPointSizeF(14);
        font.setBold(true);
        painter.setFont(font);
        constexpr int Flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
        QRectF title;
        painter.drawText(area, Flags, group, &title);
        room.setTop(title.bottom() + title.height() / 2);
    }
    // The drawing as large as the room below the name allows, its proportions kept, centred.
    const Picture& picture = m_ui->Image1->picture();
    if (const QSizeF size = picture.Size(); !size.isEmpty() && !room.isEmpty()) {
        QRectF box(QPointF(0, 0), size.scaled(room.size(), Qt::KeepAspectRatio));
        box.moveCenter(room.center());
        picture.Print(painter, box);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw std::runtime_error(failure);
}

void To_fScheme::Printscheme1Click()
{
    const auto printer = DefaultPrinter::Open();
    print(*printer, "Cannot print on the default printer");
}

void To_fScheme::PrinttoPDF1Click()
{
    // Named after the group, in the user's documents; in the home folder where there is no
    // documents folder (a desktop without one made), since a name in a missing folder fails.
    const QString name = m_group.empty() ? QStringLiteral("Schematic") : fromBytes(m_group);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    const QString suggested = QDir(folder).filePath(name + QStringLiteral(".pdf"));
    const auto path =
        SaveDialog::Ask(this, QStringLiteral("Print to PDF"), QStringLiteral("PDF files (*.pdf)"),
                        QStringLiteral("pdf"), suggested);
    if (!path)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*path);
    // The page size of the user's country (Qt's default).
    print(printer, "Cannot write the file " + toBytes(*path));
}

void To_fScheme::exit1Click()
{
    close();
}
