// Private exports of our VUVAVO.dll stand-in that carry EAPOL frames between the adapter's
// station and the simulated access point's authenticator and authentication server, and
// tell what the adapter offered when it associated. Only
// our supplicant stand-in calls them; the utility never does, and a real driver library
// would not have them.
//
// A frame is a whole EAPOL PDU as it follows the 802.3 header: protocol version, packet
// type, body length (big-endian), body. Frames travel between the adapter and the access
// point it is associated with; with no association a send fails and nothing is received.
#pragma once

#include "adapter/VuvavoApi.h"

extern "C" {

// Station to access point. 0 when sent, -1 when the frame could not be sent.
VUVAVO_API int HXAPI HxSimSendEapol(AdapterHandle* adapter, const unsigned char* frame, int length);
// Access point to station: waits up to timeoutMs for a frame. Returns its length, 0 when
// none arrived in time, -1 on failure (null pointers, adapter not open) or when the frame
// does not fit into capacity (it is then dropped).
VUVAVO_API int HXAPI HxSimReceiveEapol(AdapterHandle* adapter, unsigned char* frame, int capacity,
                                       int timeoutMs);
// The security element the adapter put in its association request (for WPA2 its own RSN
// element, which the supplicant's message 2 must repeat byte for byte). Returns its length,
// 0 when not associated or without one, -1 on failure or when it does not fit into capacity.
VUVAVO_API int HXAPI HxSimAssociationElement(AdapterHandle* adapter, unsigned char* element, int capacity);

}  // extern "C"
