namespace tabulane {}
