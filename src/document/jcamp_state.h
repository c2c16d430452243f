// What the JCAMP-DX reader and writer keep between uses.
#pragma once

#include <string>

namespace pelvaron {

struct JcampState {
    std::string lastJcampText;  ///< text of the last "##JCAMPDX=" label read; starts new comments
};

}  // namespace pelvaron
