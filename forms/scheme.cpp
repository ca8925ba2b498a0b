#include "scheme.h"
#include "ui_scheme.h"

#include "default_printer.h"
#include "handlers.h"
#include "remembered_place.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWindow>
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
    m_popupMenu->addActions({m_ui->Printscheme1, m_ui->N1, m_ui->exit1});

    using Handlers::Guard;
    connect(m_ui->Image1, &QWidget::customContextMenuRequested, this,
            Guard([this](const QPoint& at) { m_popupMenu->popup(m_ui->Image1->mapToGlobal(at)); }));
    connect(m_ui->Printscheme1, &QAction::triggered, this,
            Guard(this, &To_fScheme::Printscheme1Click));
    connect(m_ui->exit1, &QAction::triggered, this, Guard(this, &To_fScheme::exit1Click));
}

To_fScheme::~To_fScheme() = default;

void To_fScheme::ShowPicture(const Picture& picture, QWidget* fromDialog)
{
    m_ui->Image1->setPicture(picture);
    if (!isVisible()) {
        // A window of the open dialog, as far as modality goes, until the dialog closes.
        if (fromDialog && fromDialog->isVisible() && fromDialog->isModal()) {
            winId(); // the native window, to give it its transient parent
            windowHandle()->setTransientParent(fromDialog->windowHandle());
            m_besideDialog = fromDialog;
            fromDialog->installEventFilter(this);
        }
        show();
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

void To_fScheme::Printscheme1Click()
{
    // The client area as the window shows it: its colour with the stretched picture over it.
    const QPixmap image = grab();
    const auto printer = DefaultPrinter::Open();
    QPainter painter;
    if (!painter.begin(printer.get()))
        throw std::runtime_error("Cannot print on the default printer");
    // The printout has the size the window has on the screen.
    const QSize printed(qRound(width() * printer->logicalDpiX() / double(logicalDpiX())),
                        qRound(height() * printer->logicalDpiY() / double(logicalDpiY())));
    painter.drawPixmap(QRect(QPoint(0, 0), printed), image);
    painter.end();
}

void To_fScheme::exit1Click()
{
    close();
}
