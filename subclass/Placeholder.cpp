namespace loomhook_placeholder {}
