#ifndef VELMORA_MAIN_RESOURCE_NAMES_H_
#define VELMORA_MAIN_RESOURCE_NAMES_H_

namespace velmora::main {

// Names of the program's resources; resources/velmora.rc declares them under the same names.
inline constexpr char kBackdropPicture[] = "BACKDROP";

}  // namespace velmora::main

#endif  // VELMORA_MAIN_RESOURCE_NAMES_H_
