// The MDI workspace, painted by the program: a 64-band blue gradient, or the background
// picture tiled or stretched.
#pragma once

#include <QImage>
#include <QMdiArea>

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

protected:
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    bool m_usePicture = false;
    bool m_stretch = false;
    QImage m_picture;
};
