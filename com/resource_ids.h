#ifndef VORDO_COM_RESOURCE_IDS_H_
#define VORDO_COM_RESOURCE_IDS_H_

// The module's resources: the type library, the help and banner pages, the
// banner image they show, and the toolbar button's icon.
#define VORDO_TYPELIB_RESOURCE 1
#define VORDO_HELP_PAGE 201
#define VORDO_BANNER_PAGE 202
#define VORDO_BUTTON_ICON 201
#define VORDO_IMAGE_RESOURCE_TYPE 2110
#define VORDO_HTML_RESOURCE_TYPE 23

#endif  // VORDO_COM_RESOURCE_IDS_H_
