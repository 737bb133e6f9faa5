#ifndef VELMORA_MAIN_RESOURCE_NAMES_H_
#define VELMORA_MAIN_RESOURCE_NAMES_H_

// Names of the program's resources, shared by the resource script and the layouts.
#define VELMORA_MAIN_ICON "MAINICON"
#define VELMORA_BACKDROP_PICTURE "BACKDROP"
#define VELMORA_SPLASH_PICTURE "SPLASH"

#ifndef RC_INVOKED
namespace velmora::main {
inline constexpr char kMainIcon[] = VELMORA_MAIN_ICON;
inline constexpr char kBackdropPicture[] = VELMORA_BACKDROP_PICTURE;
inline constexpr char kSplashPicture[] = VELMORA_SPLASH_PICTURE;
}  // namespace velmora::main
#endif

#endif  // VELMORA_MAIN_RESOURCE_NAMES_H_
