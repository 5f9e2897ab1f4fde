// The MDI workspace, painted by the program: a 64-band blue gradient, or the background
// picture tiled or stretched.
#pragma once

#include <QImage>
#include <QMdiArea>
#include <QPointer>

#include <vector>

class QMdiSubWindow;

class Workspace : public QMdiArea {
    Q_OBJECT
public:
    explicit Workspace(QWidget *parent = nullptr);

    /// How to paint: `picture` may be null (the gradient is painted then).
    void setBackground(bool usePicture, bool stretch, QImage picture);

    /// The background of a workspace of `client` size as the screen shows it.
    /// `outer` is the frame window's size, the extent a tiled picture covers.
    static QImage renderBackground(QSize client, QSize outer, bool usePicture, bool stretch,
                                   const QImage &picture);

    /// Restores maximised and minimised windows and lays them all out as a stair from the
    /// top-left corner, each keeping its size where the workspace has room: what "重ねて表示"
    /// does.
    void cascadeWindows();
    /// The windows that are neither hidden nor minimised, in the order they were added.
    QList<QMdiSubWindow *> arrangeableWindows() const;

protected:
    /// A window shown for the first time opens a step below and right of the last one opened,
    /// inside the workspace (QMdiArea places it before it has its size).
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    bool m_usePicture = false;
    bool m_stretch = false;
    QImage m_picture;
    std::vector<QPointer<QMdiSubWindow>> m_opened; ///< placed on their first showing, oldest first
};
