// What the JCAMP-DX import and export keep between uses: the text that starts new comments, the
// domain and file of the last import, and the choices of the "JCAMP Options" dialog.
#pragma once

#include <string>

namespace pelvaron {

struct JcampState {
    std::string lastJcampText;  ///< text of the last "##JCAMPDX=" label read; starts new comments

    /// The domain of the last JCAMP-DX file imported, and the file: lets an export that is not
    /// told the data type pick it.
    bool importedSpectrum = false;
    std::string importedPath;

    // "JCAMP Options" dialog: kept between uses.
    int jcampFid = 0;
    int jcampSpectrum = 1;
    int jcampRealOnly = 0;
};

}  // namespace pelvaron
