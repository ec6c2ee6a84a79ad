#!/bin/sh
# The program finds its assets beside itself, in /usr/lib/tarvesa.
exec /usr/lib/tarvesa/tarvesa "$@"
