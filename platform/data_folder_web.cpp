// In a browser the program's folder is the root of its file system, and the
// page fetches the data files into assets/ there (app/web/index.html), as
// they lie beside the program in the build tree.
#include "platform/data_folder.h"

std::string executableFolder(std::string*) {
  return "/";
}
