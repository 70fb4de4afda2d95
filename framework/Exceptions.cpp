// The exception family: run-time classes, OS error mapping and the French texts.
#include "framework/Exceptions.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)

namespace {

BOOL CopyMessage(const CString& text, LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    lstrcpynA(lpszError, text, static_cast<int>(nMaxError));
    return TRUE;
}

// Texts in Windows-1252; %s is the file name.
const char* const kFileTexts[] = {
    "Aucune erreur sur %s.",
    "Erreur inattendue sur le fichier %s.",
    "Le fichier %s est introuvable.",
    "Le chemin %s est incorrect.",
    "Trop de fichiers ouverts pour ouvrir %s.",
    "Acc\xE8s refus\xE9 au fichier %s.",
    "Le fichier %s n'est pas valide.",
    "Impossible de supprimer le dossier courant %s.",
    "Le dossier de %s est plein.",
    "Erreur de positionnement dans le fichier %s.",
    "Erreur mat\xE9rielle en acc\xE9"
    "dant au fichier %s.",
    "Violation de partage sur le fichier %s.",
    "Violation de verrouillage sur le fichier %s.",
    "Disque plein en \xE9"
    "crivant le fichier %s.",
    "Fin du fichier %s atteinte de fa\xE7on inattendue.",
};

const char* const kArchiveTexts[] = {
    "Aucune erreur dans l'archive %s.",
    "Erreur inattendue dans l'archive %s.",
    "Tentative d'\xE9"
    "crire dans l'archive %s ouverte en lecture.",
    "Fin de l'archive %s atteinte de fa\xE7on inattendue.",
    "Tentative de lire l'archive %s ouverte en \xE9"
    "criture.",
    "L'archive %s contient une r\xE9"
    "f\xE9rence d'objet incorrecte.",
    "L'archive %s contient un objet d'une classe inconnue.",
    "L'archive %s contient un objet d'une version non prise en charge.",
};

} // namespace

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError)
        *lpszError = '\0';
    return FALSE;
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError) {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_HANDLE:
    case ERROR_NO_MORE_FILES:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_NETWORK_ACCESS_DENIED:
        return accessDenied;
    case ERROR_INVALID_ACCESS:
    case ERROR_BAD_FORMAT:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
        return directoryFull;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return badSeek;
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
        return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return generic;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName)
{
    throw CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    int cause = (m_cause >= none && m_cause <= endOfFile) ? m_cause : generic;
    CString text;
    text.Format(kFileTexts[cause], m_strFileName.IsEmpty() ? "inconnu" : static_cast<LPCSTR>(m_strFileName));
    return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    int cause = (m_cause >= none && m_cause <= badSchema) ? m_cause : generic;
    CString text;
    text.Format(kArchiveTexts[cause], m_strFileName.IsEmpty() ? "" : static_cast<LPCSTR>(m_strFileName));
    text.Replace("  ", " ");
    text.Replace(" .", ".");
    return CopyMessage(text, lpszError, nMaxError, pnHelpContext);
}

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage("M\xE9moire insuffisante.", lpszError, nMaxError, pnHelpContext);
}

BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage("Ressource Windows introuvable ou impossible \xE0 cr\xE9"
                       "er.",
                       lpszError, nMaxError, pnHelpContext);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw CArchiveException(cause, lpszArchiveName);
}

void AfxThrowMemoryException() { throw CMemoryException(); }

void AfxThrowResourceException() { throw CResourceException(); }

void AfxThrowUserException() { throw CUserException(); }
