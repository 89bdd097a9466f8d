// The simulated 802.1X authentication that our stand-ins run between the station's
// supplicant and the simulated access point's authentication server.
//
// THIS IS A SIMULATION. The EAP layer is real EAP over EAPOL (IEEE 802.1X / RFC 3748);
// the method inside it is NOT TLS and NOT PEAP/MS-CHAPv2. It stands in for them with a
// small challenge-response exchange under the experimental EAP type 255, so that the
// utility's EAP-TLS and PEAP runs exercise the whole path (EAPOL-Start, identity, method
// rounds, success or failure, a derived 32-byte pairwise master key) without a TLS stack.
//
// --- EAPOL (every frame handed to HxSimSendEapol / HxSimReceiveEapol) -------------------
//   byte 0      protocol version (1; the server accepts 1 and 2)
//   byte 1      packet type: 0 EAP-Packet, 1 EAPOL-Start, 2 EAPOL-Logoff, 3 EAPOL-Key
//   bytes 2-3   body length, big-endian
//   bytes 4-    body
//
// --- EAP packet (body of an EAPOL EAP-Packet) --------------------------------------------
//   byte 0      code: 1 Request, 2 Response, 3 Success, 4 Failure
//   byte 1      identifier (a response repeats the request's)
//   bytes 2-3   length of the whole EAP packet, big-endian (4 for Success/Failure)
//   byte 4      type (Request/Response only): 1 Identity, 3 Nak, 255 the simulated method
//   bytes 5-    type data
//
// --- The exchange -------------------------------------------------------------------------
//   station                                   access point / server
//   EAPOL-Start              ------>          (also sent unasked right after association)
//                            <------          Request/Identity (no data)
//   Response/Identity "name" ------>          (the name is the outer identity)
//                            <------          Request/255 ServerHello
//   Response/255 ClientTls   ------>          or ClientPeap
//                            <------          Request/255 ServerFinished  (or Failure)
//   Response/255 ClientAck   ------>
//                            <------          Success; then the access point starts the
//                                             WPA 4-way handshake with the derived key
// A station that does not want the simulated method answers the ServerHello with a Nak
// (type 3, data one byte 0); the server then sends Failure. Any check that fails on the
// server's side ends in Failure. A new EAPOL-Start restarts the exchange from Identity.
//
// --- Type data of the simulated method (EAP type 255) -------------------------------------
//   byte 0      method: 0 unspecified (ServerHello only), 1 TLS simulation, 2 PEAP simulation
//   byte 1      opcode (below)
//   bytes 2-    fields in the order given; "text" is one length byte then that many bytes
//               (no terminating zero), "nonce" and "proof" are 32 bytes each.
//
//   opcode 1  ServerHello     (request,  method 0): server nonce, text server certificate
//                             subject, text server certificate issuer.
//   opcode 2  ClientTls       (response, method 1): client nonce, text client certificate
//                             subject, text client certificate issuer, client proof.
//   opcode 3  ClientPeap      (response, method 2): client nonce, text inner identity,
//                             client proof.
//   opcode 4  ServerFinished  (request,  method 1 or 2): server proof.
//   opcode 5  ClientAck       (response, method 1 or 2): no fields.
//
// The station chooses the method by its answer to ServerHello. The server accepts it when
// the scenario holds an 802.1X user that allows that method:
//   TLS:  user named by the outer identity; the certificate named in the answer (subject
//         and issuer) is that user's certificate; the proof verifies with its key.
//   PEAP: user named by the inner identity; the proof verifies with its password.
// A station may check the server: the server certificate's issuer is the subject of the
// root certificate the station trusts (the one written to the CA file).
//
// --- Keys and proofs ------------------------------------------------------------------------
//   secret        TLS:  the 32-byte private key of the client certificate (from the
//                       scenario; it is what the private key file holds)
//                 PEAP: SHA-256 of the password bytes (no terminating zero)
//   identity      TLS: the outer identity; PEAP: the inner identity (bytes, no zero)
//   client proof  = HMAC-SHA-256(secret, "HXSIM client" | server nonce | client nonce | identity)
//   server proof  = HMAC-SHA-256(secret, "HXSIM server" | server nonce | client nonce | identity)
//   master key    = HMAC-SHA-256(secret, "HXSIM pmk" | server nonce | client nonce)
// The labels are the ASCII bytes shown, without a terminating zero; "|" is concatenation.
// The master key (32 bytes) is the pairwise master key of the WPA 4-way handshake that
// follows; both sides derive it, nothing sends it.
#pragma once

#include <cstdint>

namespace hxsim::eapsim {

// EAPOL
constexpr uint8_t kEapolVersion = 1;
constexpr uint8_t kEapolEapPacket = 0, kEapolStart = 1, kEapolLogoff = 2, kEapolKey = 3;
constexpr int kEapolHeaderSize = 4;

// EAP
constexpr uint8_t kEapRequest = 1, kEapResponse = 2, kEapSuccess = 3, kEapFailure = 4;
constexpr uint8_t kEapTypeIdentity = 1, kEapTypeNak = 3, kEapTypeSimulated = 255;
constexpr int kEapHeaderSize = 4;  // code, identifier, length

// The simulated method
constexpr uint8_t kMethodUnspecified = 0, kMethodTls = 1, kMethodPeap = 2;
constexpr uint8_t kOpServerHello = 1, kOpClientTls = 2, kOpClientPeap = 3,
                  kOpServerFinished = 4, kOpClientAck = 5;
constexpr int kNonceSize = 32;
constexpr int kProofSize = 32;
constexpr int kMasterKeySize = 32;
constexpr int kTlsKeySize = 32;

inline constexpr char kClientProofLabel[] = "HXSIM client";
inline constexpr char kServerProofLabel[] = "HXSIM server";
inline constexpr char kMasterKeyLabel[] = "HXSIM pmk";

}  // namespace hxsim::eapsim
