// The plot area of the main window: paints the document through an off-screen image with the
// core's drawing code, draws the rubber bands as an overlay and turns mouse and key events into
// the core's tool calls.
#pragma once

#include <QImage>
#include <QVector>
#include <QWidget>
#include <map>

#include "display/tools.h"
#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::gui {

class PlotView : public QWidget {
    Q_OBJECT
public:
    PlotView(Document& doc, display::View& view, platform::UserInterface& ui, QWidget* parent = nullptr);

    /// The document changed: the off-screen image is drawn again before the next paint.
    void documentChanged();
    /// The screen height recorded at start-up; it places the axis rows.
    void setScreenHeight(int pixels) { screenHeight_ = pixels; }

    /// The plot as the window shows it (rendered now if stale), overlay excluded.
    [[nodiscard]] QImage plotImage();
    /// The rubber band drawn now.
    [[nodiscard]] const display::Overlay& overlay() const { return overlay_; }
    /// The manual baseline's preview curve (document pixels), drawn inverting over the plot like
    /// the rubber band; an empty one removes it.
    void setPreview(QVector<QPoint> polyline);
    [[nodiscard]] const QVector<QPoint>& preview() const { return preview_; }
    /// Plot rows of the document above the widget's first row (the toolbar's rows).
    [[nodiscard]] static int topRows();

signals:
    /// A mouse action asks for a dialog or the report (app::CommandDispatcher::toolRequested).
    void toolRequested(display::ToolRequest request, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Document& doc_;
    display::View& view_;
    platform::UserInterface& ui_;
    QImage image_;
    bool stale_ = true;
    int screenHeight_ = 0;
    display::Overlay overlay_;
    QVector<QPoint> preview_;
    std::map<display::ToolCursor, QCursor> cursors_;

    void renderIfStale();
    void apply(const display::ToolFeedback& feedback);
    void showCursor(display::ToolCursor cursor);
    [[nodiscard]] QPoint toDocument(QPointF position) const;
};

}  // namespace pelvaron::gui
