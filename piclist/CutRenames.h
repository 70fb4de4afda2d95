// A rename cut short leaves its picture under a passing name; listing the folder puts it back.
#pragma once
#include "framework/String.h"

// Puts back a picture that a case-only rename left under its passing name ("~ren" + 4 hexadecimal
// digits + ".tmp") when it was cut short: the picture takes the name its record gives, when exactly
// one record of the folder names a picture that is missing. Returns how many were put back.
int RecoverCutRenames(const CString& folder);
