#pragma once
// Windows runs the RPC service (RpcSs) from boot; a fresh Wine prefix starts it only on
// the first request, which then times out. Tests of the running object table and of
// local-server class objects start it first.

namespace tambre::test {

// Starts RpcSs if needed and waits until it runs; true when it does.
bool ensure_rpc_service_running();

}  // namespace tambre::test
