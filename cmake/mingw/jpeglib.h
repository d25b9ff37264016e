// On Windows libjpeg takes its "boolean" from rpcndr.h, in the global namespace, while
// JUCE's JPEG loader expects to find it in the namespace it includes jpeglib.h into.
#include_next <jpeglib.h>
typedef ::boolean boolean;
