#pragma once
// The command "dcc": offers of a DCC chat or of a file to another user.

class CommandContext;

// "dcc chat" nick: a new chat socket listens and the peer is offered its
// address and port. "dcc send" nick path: a new send socket listens for the
// file at `path` (the words after the nick) and the peer is offered its
// name, address, port and size. The address is the local IPv4 address of
// the connection to the server; without one, and for a nick that cannot be
// a peer or a path that is no regular file, nothing is offered and an
// "Error: " line says why. Any other first word does nothing.
void dccCommand(CommandContext& command);
