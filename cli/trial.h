#pragma once

class Session;

// A write on trial (--try SECONDS): after the batch is verified, it is kept
// when confirmed in time ('yes' typed, 'converter-cli confirm BATCH', or a
// passed --test), and otherwise rolled back, verified and journaled. The
// converters stay reachable by their MACs whatever addresses they were
// given, so the rollback always finds them.
namespace Trial {

// status is the writing command's; the status of the whole run: 0 when
// confirmed, 4 after a rollback (or the rollback's own failure).
int run(Session &session, int status);

} // namespace Trial
