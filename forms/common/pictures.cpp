// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms/common/pictures.h"

#include <QDir>
#include <QHash>
#include <QIconEngine>
#include <QString>

namespace Pictures
{

namespace
{

// The sizes of a picture are decoded when the picture is first drawn or measured, not when a
// window of the start is made: most of them are for other screens, or for windows not yet shown.
class FolderIconEngine : public QIconEngine
{
public:
    explicit FolderIconEngine(QString folder) : m_folder(std::move(folder)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }

    // Asked by every button given an icon: answered without decoding.
    bool isNull() override
    {
        return m_loaded ? m_icon.isNull() : QDir(m_folder).isEmpty(QDir::Files);
    }
    QString key() const override { return QStringLiteral("QuorvelFolder"); }
    QIconEngine* clone() const override { return new FolderIconEngine(*this); }

private:
    QIcon& icon()
    {
        if (!m_loaded) {
            // Every size drawn for the picture: the icon picks the one for the screen's scale.
            const QDir sizes(m_folder);
            for (const QString& file : sizes.entryList(QDir::Files))
                m_icon.addFile(sizes.filePath(file));
            m_loaded = true;
        }
        return m_icon;
    }

    QString m_folder;
    QIcon m_icon;
    bool m_loaded = false;
};

} // namespace

QIcon Icon(const char* name)
{
    static QHash<QString, QIcon> decoded;
    const QString key = QLatin1String(name);
    auto found = decoded.constFind(key);
    if (found == decoded.constEnd())
        found = decoded.insert(key, QIcon(new FolderIconEngine(QStringLiteral(":/images/") + key)));
    return *found;
}

} // namespace Pictures
