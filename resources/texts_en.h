// English texts of the dialogs; dialogs.rc takes them by these names.
#define DLG_LANGUAGE LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
#define TXT_WELCOME "Welcome to Velk Update Wizard"
#define TXT_INTRO "Velk Update will downloads and installs updates for Velk products"
#define TXT_INTRO_NOTE "It is strongly recommended that you close all other applications you have running before continuing. This will help prevent any conflicts during the installation process. \n\nClick Next to continue, or  Cancel to exit."
#define TXT_DOWNLOAD_PROGRESS "Download progress"
#define TXT_DETAILS "Details"
#define TXT_CHECKING "Checking Velk for updates"
#define TXT_TIME_ELAPSED "Time elapsed:"
#define TXT_TIME_REMAINING "Time remaining:"
#define TXT_TRANSFER_RATE "Transfer rate:"
#define TXT_INSTALL_WAIT "Please wait while Velk Update Wizard install downloaded updates"
#define TXT_STATUS_DESCRIPTION "Download status description"
#define TXT_FAILED_HEADING "Updating process failed"
#define TXT_ERROR "Error"
#define TXT_VISIT "Visit "
#define TXT_UPDATE_MANUALLY "to update manually"
// Positions that follow the length of the texts beside them.
#define POS_VISIT_WIDTH 16
#define POS_LINK_X 141
#define POS_MANUALLY_X 210
#define POS_MANUALLY_Y 86
#define POS_MANUALLY_WIDTH 90
#define POS_ELAPSED_LABEL_WIDTH 50
#define POS_ELAPSED_X 166
