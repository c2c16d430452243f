// The page a picture file or the clipboard receives: paper, orientation and resolution, the
// pixel size and drawing rectangle that follow from them, and the picture type chosen by the
// file's extension.
#pragma once

#include <optional>
#include <string>

#include "base/geometry.h"
#include "display/view.h"

namespace pelvaron::output {

enum class Paper { A4, Letter };
enum class PictureFormat { Pdf, Svg, Png };

/// Resolution of the screen the page is measured against when there is no screen (the
/// command line): the pages' scale factors are the target's resolution over this.
inline constexpr double kDefaultScreenDpi = 96.0;
/// PNG pictures unless a resolution is asked for.
inline constexpr int kDefaultPictureDpi = 300;
/// Resolutions a picture may be asked for: enough for a poster, small enough for memory.
inline constexpr int kMinPictureDpi = 36;
inline constexpr int kMaxPictureDpi = 1200;

struct PageSetup {
    Paper paper = Paper::A4;
    bool landscape = false;
    int dpi = kDefaultPictureDpi;  ///< pixels per inch of the page's drawing
};

/// The paper's size in millimetres, turned for landscape.
struct PaperSizeMm {
    double width = 0.0;
    double height = 0.0;
};
[[nodiscard]] PaperSizeMm paperSizeMm(const PageSetup& setup);

/// The page in pixels at setup.dpi (rounded to the nearest pixel).
struct PagePixels {
    int width = 0;
    int height = 0;
};
[[nodiscard]] PagePixels pagePixels(const PageSetup& setup);

/// The printed rectangle of a W x H page: 1.5 % of each side is left as margin.
[[nodiscard]] Rect printedRect(int width, int height);

/// The factors of the printed page (Print, Export Picture, the command line) and of the
/// clipboard's picture (Copy Metafile).
void setPrintFactors(display::View& view);
void setMetafileFactors(display::View& view);
/// pageScaleX/Y: the target's resolution over the screen's.
void setPageScale(display::View& view, double targetDpiX, double targetDpiY, double screenDpiX,
                  double screenDpiY);

/// The picture type by the file's extension (.pdf, .svg, .png, any case), or none.
[[nodiscard]] std::optional<PictureFormat> pictureFormatFor(const std::string& path);
/// What is said when a file's extension names no picture type.
[[nodiscard]] std::string unknownPictureMessage(const std::string& path);

}  // namespace pelvaron::output
