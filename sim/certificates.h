// The user's personal certificates and the files the certificate functions write into the
// current directory, in the simulation's own text form.
#pragma once

#include <optional>
#include <string>

#include "sim/sim_state.h"

namespace kw::sim {

inline constexpr char kExportFile[] = "Talvo.pfx";
inline constexpr char kClientCertificateFile[] = "Talvo.pem";
inline constexpr char kClientKeyFile[] = "Talvo_key.pem";
inline constexpr char kAuthorityExportFile[] = "caroot.cer";
inline constexpr char kAuthorityFile[] = "caroot.pem";
inline constexpr char kRandomFile[] = ".rand";
// The password that protects the written private key.
inline constexpr char kPrivateKeyPassword[] = "Wexlu";

// What a TLS exchange proves with these files: the secret of a certificate of the world whose
// certificate and key files were written here and whose key opens with the password; none
// otherwise.
std::optional<std::string> TlsSecret(const SimState& sim, const std::string& certificateFile,
                                     const std::string& keyFile, const std::string& password);

}  // namespace kw::sim
