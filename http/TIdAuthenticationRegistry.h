#pragma once
// The process-wide list of authentication kinds by scheme name ("Basic" -> TIdBasicAuthentication),
// filled with Basic on first use. Scheme names compare without regard to ASCII case.
#include "http/TIdAuthentication.h"

#include <string>
#include <vector>

// Raises EIdAlreadyRegisteredAuthenticationMethod when the name is taken.
void RegisterAuthenticationMethod(const std::string& methodName, TIdAuthenticationClass authClass);
void UnregisterAuthenticationMethod(const std::string& methodName);
// nullptr for a name that is not registered.
TIdAuthenticationClass FindAuthClass(const std::string& authName);
// The kind named by the first word of the first challenge value that names a registered one.
TIdAuthenticationClass IdFindAuthClassForChallenges(const std::vector<std::string>& challenges);
