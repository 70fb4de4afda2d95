// The framework's French texts, in Windows-1252.
#include "framework/FrameworkTexts.h"

namespace {

struct Text {
    UINT id;
    LPCSTR text;
};

const Text kTexts[] = {
    {AFX_IDS_IDLEMESSAGE, "Pr\xEAt"},
    {AFX_IDS_UNTITLED, "Sans titre"},
    {AFX_IDP_PARSE_INT, "Entrez un entier."},
    {AFX_IDP_PARSE_UINT, "Entrez un entier positif."},
    {AFX_IDP_PARSE_INT_RANGE, "Entrez un entier compris entre %1 et %2."},
    {AFX_IDP_PARSE_STRING_SIZE, "Entrez au plus %1 caract\xE8res."},
    {AFX_IDP_PARSE_RADIO_BUTTON, "Choisissez une des options."},
    {AFX_IDP_ASK_TO_SAVE, "Enregistrer les modifications de %1 ?"},
    {AFX_IDP_FAILED_TO_OPEN_DOC, "Impossible d'ouvrir ce document."},
    {AFX_IDP_FAILED_TO_SAVE_DOC, "Impossible d'enregistrer ce document."},
    {AFX_IDP_FAILED_TO_CREATE_DOC, "Impossible de cr\xE9"
                                   "er un nouveau document."},
    {AFX_IDP_INTERNAL_FAILURE, "Une erreur interne s'est produite."},
    {AFX_IDP_COMMAND_FAILURE, "La commande n'a pas pu aboutir."},
    {AFX_IDS_ALLFILTER, "Tous les fichiers (*.*)"},
    {AFX_IDP_NO_PRINTER, "Aucune imprimante n'est install\xE9"
                         "e. Installez une imprimante avant d'imprimer."},
    {AFX_IDP_PRINT_FAILED, "L'impression n'a pas pu aboutir."},
    {AFX_IDP_PRINT_NOTHING, "Il n'y a aucune page \xE0 imprimer."},
    {AFX_IDS_PRINT_STATUS_TITLE, "Impression"},
    {AFX_IDS_PRINT_STATUS_DOC, "Impression de %1"},
    {AFX_IDS_PRINT_STATUS_PRINTER, "sur %1 (%2)"},
    {AFX_IDS_PRINT_STATUS_PAGE, "Page %u"},
    {AFX_IDS_CANCEL, "Annuler"},
    {AFX_IDS_PREVIEW_TITLE, "Aper\xE7u avant impression"},
    {AFX_IDS_PREVIEW_PRINT, "&Imprimer..."},
    {AFX_IDS_PREVIEW_NEXT, "Page &suivante"},
    {AFX_IDS_PREVIEW_PREV, "Page &pr\xE9"
                           "c\xE9"
                           "dente"},
    {AFX_IDS_PREVIEW_TWO_PAGES, "&Deux pages"},
    {AFX_IDS_PREVIEW_ONE_PAGE, "&Une page"},
    {AFX_IDS_PREVIEW_ZOOM_IN, "Zoom a&vant"},
    {AFX_IDS_PREVIEW_ZOOM_OUT, "Zoom a&rri\xE8re"},
    {AFX_IDS_PREVIEW_CLOSE, "&Fermer"},
    {AFX_IDS_PREVIEW_PAGE, "Page %u"},
    {AFX_IDS_PREVIEW_PAGES, "Pages %u-%u"},
    {AFX_IDP_FILE_NAME_TOO_LONG,
     "Le nom du fichier est trop long : avec le chemin de son dossier, il ne peut pas "
     "d\xE9passer %u caract\xE8res."},
    {AFX_IDP_FILE_NAME_UNSPELLED,
     "Le nom du fichier '%s' contient des lettres que ce programme ne peut pas \xE9"
     "crire."},
    {AFX_IDP_FOLDER_NAME_UNSPELLED,
     "Le nom du dossier '%s' contient des lettres que ce programme ne peut pas \xE9"
     "crire."},
};

} // namespace

LPCSTR AfxFrameworkText(UINT nID)
{
    for (const Text& t : kTexts) {
        if (t.id == nID)
            return t.text;
    }
    return nullptr;
}

CString AfxLoadText(UINT nID)
{
    if (LPCSTR text = AfxFrameworkText(nID))
        return CString(text);
    CString s;
    s.LoadString(nID);
    return s;
}
