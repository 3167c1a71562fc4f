/* The version of Quendral this kit installs: the one place it is written, read by the
   programs and by their version resources. */
#pragma once

#define KIT_VERSION_MAJOR 1
#define KIT_VERSION_MINOR 3
/* As the installer compares versions: major * 10 + minor. */
#define KIT_PRODUCT_VERSION (KIT_VERSION_MAJOR * 10 + KIT_VERSION_MINOR)

#define KIT_TEXT_OF(x) #x
#define KIT_TEXT(x) KIT_TEXT_OF(x)
/* "1.3" */
#define KIT_VERSION_TEXT KIT_TEXT(KIT_VERSION_MAJOR) "." KIT_TEXT(KIT_VERSION_MINOR)
