#pragma once
// Resource and control ids of the rich-text gallery, shared by its resources, its code and its
// test.

#define IDD_GALLERY 100
#define IDI_GALLERY 101
#define IDB_GALLERY_HEADER 102

#define IDC_GALLERY_BANNER 1000
#define IDC_GALLERY_TEXT 1001
#define IDC_GALLERY_TABLE 1002
#define IDC_GALLERY_IMAGES 1003
#define IDC_GALLERY_LINKS 1004
#define IDC_GALLERY_DISABLED 1005
#define IDC_GALLERY_ENABLE 1006
#define IDC_GALLERY_STATUS 1007
// The label of "gallery --markup FILE".
#define IDC_GALLERY_PREVIEW 1008

// Sent to the dialog by the samples' message links; wParam is the link's target text.
#define WM_GALLERY_LINK (WM_APP + 1)

#define GALLERY_CAPTION L"Velk Rich-Text Gallery"
#define GALLERY_PREVIEW_CAPTION L"Velk Rich-Text Preview"
#define GALLERY_PREVIEW_CLASS L"VelkRichTextPreview"
#define GALLERY_READY_TEXT L"Click a link: message links report here, web links open the browser."
#define GALLERY_LINK_PREFIX L"Message link: "
