// German texts of the dialogs; dialogs.rc takes them by these names.
#define DLG_LANGUAGE LANGUAGE LANG_GERMAN, SUBLANG_GERMAN
#define TXT_WELCOME "Willkommen beim Velk Update-Assistenten"
#define TXT_INTRO "Velk Update lädt Aktualisierungen für Velk-Produkte herunter und installiert sie"
#define TXT_INTRO_NOTE "Es wird dringend empfohlen, alle anderen laufenden Anwendungen zu schließen, bevor Sie fortfahren. So lassen sich Konflikte während der Installation vermeiden. \n\nKlicken Sie auf Weiter, um fortzufahren, oder auf  Abbrechen, um den Assistenten zu beenden."
#define TXT_DOWNLOAD_PROGRESS "Downloadfortschritt"
#define TXT_DETAILS "Details"
#define TXT_CHECKING "Velk wird nach Aktualisierungen durchsucht"
#define TXT_TIME_ELAPSED "Verstrichene Zeit:"
#define TXT_TIME_REMAINING "Verbleibende Zeit:"
#define TXT_TRANSFER_RATE "Übertragungsrate:"
#define TXT_INSTALL_WAIT "Bitte warten Sie, während der Velk Update-Assistent die heruntergeladenen Aktualisierungen installiert"
#define TXT_STATUS_DESCRIPTION "Beschreibung des Downloadstatus"
#define TXT_FAILED_HEADING "Update fehlgeschlagen"
#define TXT_ERROR "Fehler"
#define TXT_VISIT "Besuchen Sie "
#define TXT_UPDATE_MANUALLY "für eine manuelle Aktualisierung"
// Positions that follow the length of the texts beside them.
#define POS_VISIT_WIDTH 46
#define POS_LINK_X 170
// The German text does not fit beside the link: it takes the next line.
#define POS_MANUALLY_X 124
#define POS_MANUALLY_Y 97
#define POS_MANUALLY_WIDTH 180
#define POS_ELAPSED_LABEL_WIDTH 62
#define POS_ELAPSED_X 180
