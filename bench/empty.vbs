' Nothing: the start-up of the runner alone.
