// The plug-in's version: the one place that holds it. The DLL's version
// resource is built from it, and the release zip is named after it.
#pragma once

#define KN_VERSION_MAJOR 1
#define KN_VERSION_MINOR 0
#define KN_VERSION_PATCH 0

#define KN_VERSION_STRINGIFY_(x) #x
#define KN_VERSION_STRINGIFY(x) KN_VERSION_STRINGIFY_(x)
// "1.0.0": the resource compiler joins adjacent strings.
#define KN_VERSION_TEXT                                                  \
  KN_VERSION_STRINGIFY(KN_VERSION_MAJOR) "." KN_VERSION_STRINGIFY(KN_VERSION_MINOR) "." \
      KN_VERSION_STRINGIFY(KN_VERSION_PATCH)
